#!/usr/bin/env bash
# The main job: builds everything, then runs the demo medium's Setup.exe under Wine: the i686 one
# that ships where 32-bit Wine runs, else the x86_64 one (scripts/wine-arch.sh says why).
# With a display, the setup opens on it for you to use; the medium is drive D: of the prefix
# out/wine-prefix, so an install stays for the next run. Without a display it runs under Xvfb,
# walks through an install and an uninstall on its own, and writes a screenshot of every page and
# box into out/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-machine.sh
scripts/build.sh
arch=$(scripts/wine-arch.sh)
out=$PWD/out
mkdir -p "$out"
rm -rf "$out/demo-medium"
cp -r "dist/$arch/demo-medium" "$out/demo-medium"
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
walk_log=$out/walk.log
timeout 300 wine build/wine/setup_driver.exe --verbose tests/e2e/demo_walk.drive >"$walk_log" 2>&1 || walk=$?
# The setup ends by itself after the walk's last step; after a failed walk it may wait on a page
# or a box for ever, so it has 15 s and is then ended.
for _ in $(seq 150); do kill -0 $setup 2>/dev/null || break; sleep 0.1; done
if kill -0 $setup 2>/dev/null; then
  import -window root "$out/screenshots/walk-stopped.png" 2>/dev/null || true
  wineserver -k >/dev/null 2>&1 || true
  wait $setup 2>/dev/null || true
  ended="Setup.exe still ran 15 s after the walk and was ended"
else
  status=0
  wait $setup || status=$?
  ended="Setup.exe ended with exit code $status"
fi
for bmp in "$out"/screenshots/*.bmp; do
  [ -e "$bmp" ] || continue
  convert "$bmp" "${bmp%.bmp}.png" && rm "$bmp"
done
if [ "$walk" -ne 0 ]; then
  # Where the walk stopped (its last steps, what it expected and found) and the screen then.
  echo "the walk through the setup failed (exit $walk); its last steps:"
  tail -8 "$walk_log" | tr -d '\r' | sed 's/^/  /'
  [ -f "$out/screenshots/walk-stopped.png" ] && echo "the screen when it stopped: $out/screenshots/walk-stopped.png"
fi
echo "$ended; the walk through it ended with $walk"
echo "screenshots in $out/screenshots:"
ls "$out/screenshots"
[ "$walk" -eq 0 ]
