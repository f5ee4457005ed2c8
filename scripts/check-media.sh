#!/usr/bin/env bash
# Runs a setupdata tool's check over every test medium in tests/media, or verify over the demo
# medium as registered, as it stands and with a file missing and resized; prints each report
# and its exit status. Used to compare the Windows tool with the native one.
set -uo pipefail
tool=("$@")
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d /tmp/setup-media.XXXXXX)
trap 'rm -rf "$work"' EXIT
report() {  # command, medium, title
    for json in "" --json; do
        echo "== $1 $3 $json"
        "${tool[@]}" "$1" "$2" $json | tr -d '\r'
        echo "exit ${PIPESTATUS[0]}"
    done
}
for medium in "$root"/tests/media/*/; do
    name=$(basename "$medium")
    cp -r "$medium" "$work/$name"
    # A file of 4 GiB is made here, sparse, rather than kept in the repository.
    [ -f "$work/$name/Data/Big.bin" ] && truncate -s 4G "$work/$name/Data/Big.bin"
    report check "$work/$name" "$name"
done
cp -r "$root/demo/medium" "$work/demo"
"${tool[@]}" register "$work/demo" >/dev/null 2>&1
for step in as-registered missing resized; do
    case $step in
        missing) rm "$work/demo/Readme.txt" ;;
        resized) truncate -s 5 "$work/demo/Voice/Voice01.pak" ;;
    esac
    report verify "$work/demo" "demo $step"
done
