#!/usr/bin/env bash
# The main job: builds everything, then runs the demo medium's Setup.exe (x86_64) under Wine.
# With a display, the setup opens on it for you to use; the medium is drive D: of the prefix
# out/wine-prefix, so an install stays for the next run. Without a display it runs under Xvfb,
# walks through an install and an uninstall on its own, and writes a screenshot of every page and
# box into out/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-machine.sh
scripts/build.sh
out=$PWD/out
mkdir -p "$out"
rm -rf "$out/demo-medium"
cp -r dist/x86_64/demo-medium "$out/demo-medium"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8

display_works() {
  [ -n "${DISPLAY:-}" ] || return 1
  local n=${DISPLAY#*:}
  n=${n%%.*}
  [ -S "/tmp/.X11-unix/X$n" ] || [[ $DISPLAY == */* ]] || [[ $DISPLAY == localhost:* ]]
}

if display_works && [ -z "${DEMO_HEADLESS:-}" ]; then
  export WINEPREFIX=$out/wine-prefix
  scripts/wine-prefix.sh "$WINEPREFIX" "$out/demo-medium"
  echo "Setup.exe runs on $DISPLAY from D:\\ ($out/demo-medium)"
  status=0
  (cd "$out/demo-medium" && STAND_IN_BOX=1 wine 'D:\Setup.exe') || status=$?
  echo "Setup.exe ended with exit code $status"
  exit 0
fi

export WINEPREFIX=$out/wine-prefix-headless
rm -rf "$WINEPREFIX" "$out/screenshots"
mkdir -p "$out/screenshots"
scripts/wine-prefix.sh "$WINEPREFIX" "$out/demo-medium"
for n in $(seq 90 120); do [ -e "/tmp/.X11-unix/X$n" ] || break; done
Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'wineserver -k >/dev/null 2>&1 || true; kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=":$n"
sleep 1
export SHOTS
SHOTS=$(winepath -w "$out/screenshots")
export STAND_IN_LOG
STAND_IN_LOG=$(winepath -w "$out/stand_in.log")
(cd "$out/demo-medium" && wine 'D:\Setup.exe') &
setup=$!
walk=0
wine build/x86_64/setup_driver.exe tests/e2e/demo_walk.drive || walk=$?
status=0
wait $setup || status=$?
for bmp in "$out"/screenshots/*.bmp; do
  [ -e "$bmp" ] || continue
  convert "$bmp" "${bmp%.bmp}.png" && rm "$bmp"
done
echo "Setup.exe ended with exit code $status; the walk through it ended with $walk"
echo "screenshots in $out/screenshots:"
ls "$out/screenshots"
[ "$walk" -eq 0 ]
