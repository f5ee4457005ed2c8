#!/usr/bin/env bash
# Runs the real Setup.exe under Wine and Xvfb from a medium mapped as a CD-ROM drive,
# and drives it with setup_driver.exe through the scenarios tests/e2e/*.drive.
#
#   tests/e2e/run.sh [scenario...]   (names without .drive, or paths of .drive files; all of
#                                     tests/e2e/*.drive when none is given)
#
# CTest runs the same in three parts, so that every scenario is a test of its own and the prefix,
# the display and the medium are made once:
#   tests/e2e/run.sh --setup STATE         make them in the new folder STATE
#   tests/e2e/run.sh --in STATE scenario...
#   tests/e2e/run.sh --teardown STATE      stop the display and the prefix's server, remove STATE
#
# Programs (built elsewhere; this script builds nothing), as environment variables:
#   SETUP_EXE      default build/wine/Setup.exe
#   DRIVER_EXE     default build/wine/setup_driver.exe
#   STAND_IN_EXE   default build/wine/stand_in.exe
#   PLANT_DLL      default build/wine/plant.dll
#   SETUPDATA      default build/native/setupdata (a .exe runs under wine)
#   E2E_OUT        logs and screenshots (PNG), default /tmp/setup-e2e-out (emptied first)
#   E2E_TIMEOUT    seconds each wait of the driver may take, default 10
#
# A scenario's first lines may say what the runner checks after the driver has finished:
#   # exit: N          exit code of Setup.exe (default 1, the main window closed)
#   # installed: yes   the installed-state key holds the install folder (default: no key)
#   # medium: bare     start from drive E:, a medium with nothing but Setup.exe and Setup.bmp
#   # medium: image    start from drive D: holding the medium's disc image, with its Joliet
#                      names only as Windows reads them, mounted with fuseiso; skipped when FUSE,
#                      fuseiso or xorriso is missing
# The scripts see ${STAND_IN_LOG} (the stand-in's log), ${SHOTS} (the screenshot folder),
# ${VOICE_BYTES} (size of each voice file) and ${VOICELESS_SIZE} and ${FULL_SIZE} (the size
# texts of both install types).
# Players whose names and folders CP932 cannot spell:
#   # user: NAME       a prefix of its own, run with USER=NAME (Wine names the profile folder after it)
#   # start-in: NAME   start from a copy of the medium in the folder C:\NAME of the prefix
# A Western system:
#   # prefix: western  a prefix of its own without the font replacements, LANG=en_US.UTF-8
# DLLs planted where Windows would find them first:
#   # plants: yes      plant.dll lies, under every name of planted_names, beside Setup.exe (its
#                      own and its current folder), in the DirectX folder and in the install folder,
#                      made beforehand; Wine searches them first for Setup.exe as Windows does, and
#                      the runner fails the scenario if its loader trace or a plant's note shows one
#                      loaded into Setup.exe
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
title=星降る丘の物語
key="HKCU\\Software\\HoshifuruSoft\\$title"

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Japanese Windows: the system's code page is 932 and the dialogs find their Japanese fonts.
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export STAND_IN_LOG='C:\stand_in.log'
unset STAND_IN_BOX

winpath() { local p=${1//\//\\}; echo "Z:$p"; }  # drive Z: is the host's root

# Stops what set_up started in the folder $1 and removes it.
tear_down() {
  [ -f "$1/state" ] && . "$1/state"
  local p
  mountpoint -q "$1/disc" 2>/dev/null && fusermount -u "$1/disc"
  for p in "$1/prefix" "$1"/user-* "$1/western"; do
    [ -d "$p" ] && WINEPREFIX=$p wineserver -k >/dev/null 2>&1
  done
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$1"
}

# Makes the prefix, the display and both media in the new folder $1 and writes what the scenarios
# need to $1/state.
set_up() {
  local work=$1
  local setup_exe=${SETUP_EXE:-$repo/build/wine/Setup.exe}
  local driver_exe=${DRIVER_EXE:-$repo/build/wine/setup_driver.exe}
  local stand_in_exe=${STAND_IN_EXE:-$repo/build/wine/stand_in.exe}
  local plant_dll=${PLANT_DLL:-$repo/build/wine/plant.dll}
  local setupdata=${SETUPDATA:-$repo/build/native/setupdata}
  local out
  out=$(realpath -m "${E2E_OUT:-/tmp/setup-e2e-out}")
  for f in "$setup_exe" "$driver_exe" "$stand_in_exe" "$setupdata" "$plant_dll"; do
    [ -f "$f" ] || { echo "run.sh: missing $f (build it first)" >&2; return 2; }
  done
  command -v Xvfb >/dev/null || { echo "run.sh: Xvfb is not installed" >&2; return 2; }
  local prefix=$work/prefix medium=$work/medium bare=$work/bare
  mkdir -p "$work" "$medium" || return 2
  rm -rf "$out" && mkdir -p "$out/shots"
  export WINEPREFIX=$prefix

  # A display of our own. Nothing of it may hold this script's output open: CTest waits for that.
  local display=
  for n in $(seq 91 140); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || { display=$n; break; }
  done
  [ -n "$display" ] || { echo "run.sh: no free X display number" >&2; return 2; }
  Xvfb :$display -screen 0 1024x768x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
  local xvfb_pid=$!
  echo "xvfb_pid=$xvfb_pid" >"$work/state"
  for _ in $(seq 100); do [ -e /tmp/.X11-unix/X$display ] && break; sleep 0.05; done

  # The prefix: the project's set-up (fonts, window frames, the medium as CD-ROM drive D:), the
  # bare medium as CD-ROM drive E:, and the user's shell folders of the prefix's own.
  "$repo/scripts/wine-prefix.sh" "$prefix" "$medium" </dev/null >/dev/null 2>&1 ||
    { echo "run.sh: prefix set-up failed" >&2; return 2; }
  mkdir -p "$bare"
  ln -sfn "$bare" "$prefix/dosdevices/e:"
  wine reg add 'HKLM\Software\Wine\Drives' /v 'e:' /d cdrom /f /reg:64 </dev/null >/dev/null 2>&1
  local user_dir="$prefix/drive_c/users/$(id -un)"
  for link in "$user_dir"/*; do
    [ -L "$link" ] && rm "$link" && mkdir "$link"
  done
  wineserver -w
  wineserver -p </dev/null >/dev/null 2>&1  # one server for the whole run: every start of a program is quicker

  # The medium as it is pressed: the game's files, read-only and old, the stand-ins for the game
  # and for DirectX's setup, Setup.ini built by the authoring tool, and no authoring file. The
  # voice files are large enough for a copy that lasts while the player presses Cancel (about
  # half a second each here).
  cp -r "$repo/demo/medium/." "$medium/"
  rm -f "$medium/Setup.ini"
  cp "$setup_exe" "$medium/Setup.exe"
  cp "$stand_in_exe" "$medium/Hoshifuru.exe"
  mkdir -p "$medium/DirectX" && cp "$stand_in_exe" "$medium/DirectX/dxsetup.exe"
  local voice_bytes=$((48 * 1048576))
  for v in Voice01 Voice02; do
    head -c $voice_bytes /dev/urandom >"$medium/Voice/$v.pak"
  done
  local register=("$setupdata")
  [[ $setupdata == *.exe ]] && register=(wine "$setupdata")
  "${register[@]}" register "$medium" </dev/null >"$out/setupdata.log" 2>&1 || { cat "$out/setupdata.log"; return 2; }
  rm -f "$medium/SetupRegist.ini"
  find "$medium" -type f -exec touch -d '2001-09-09 01:46:40 UTC' {} + -exec chmod a-w {} +
  cp "$setup_exe" "$medium/Setup.bmp" "$bare/"
  cp "$plant_dll" "$work/plant.dll"

  # The size texts the settings page shows for both install types.
  size_text() {  # bytes
    awk -v v="$1" 'BEGIN { if (v < 1000) { printf "%d", v; exit }
      split("K M G T", u, " "); unit = 1024
      for (i = 1; i <= 4; i++) { if (v < unit * 1000) { printf "%3.3g%s", v / unit, u[i]; exit } unit *= 1024 }
      printf "????" }'
  }
  local sum=0
  for f in Hoshifuru.exe Readme.txt Data/Script.pak Data/Graphic.pak "$title.chm"; do
    sum=$((sum + $(stat -c %s "$medium/$f"))); done
  {
    printf 'xvfb_pid=%q\n' "$xvfb_pid"
    printf 'export DISPLAY=%q WINEPREFIX=%q\n' ":$display" "$prefix"
    printf 'work=%q prefix=%q medium=%q bare=%q out=%q\n' "$work" "$prefix" "$medium" "$bare" "$out"
    printf 'driver_exe=%q timeout=%q setupdata=%q\n' "$driver_exe" "${E2E_TIMEOUT:-10}" "$setupdata"
    printf 'user_dir=%q\n' "$user_dir"
    printf 'export SHOTS=%q VOICE_BYTES=%q\n' "$(winpath "$out/shots")" "$voice_bytes"
    printf 'export VOICELESS_SIZE=%q FULL_SIZE=%q\n' "$(size_text $sum)" "$(size_text $((sum + 2 * voice_bytes)))"
  } >"$work/state"
}

reset_state() {
  local programs="$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
  wine reg delete "$key" /f >/dev/null 2>&1
  rm -rf "$prefix/drive_c/$title" "$programs/$title" "$user_dir/Desktop/$title.lnk" "$prefix/drive_c/stand_in.log" \
    "$prefix/drive_c/plant.log"
}

# DLLs that no Windows 10 maps from its list of known DLLs: the setup's own two (comctl32, mpr)
# and those the system's DLLs it calls may load by name (the shell's, COM's, the theme's, crypto,
# network, version). Under Wine the known ones (kernel32, user32, shell32, ole32...) cannot be
# planted: Wine has no such list and would take them from beside Setup.exe.
planted_names="comctl32 mpr uxtheme dwmapi propsys version cryptbase cryptsp bcrypt crypt32 wintrust secur32
  sspicli userenv profapi netapi32 netutils winhttp wininet urlmon iertutil iphlpapi dnsapi winmm oleacc apphelp
  ntmarta explorerframe shdocvw ieframe browseui cfgmgr32 dbghelp wtsapi32 mswsock msimg32 usp10 lpk riched20
  dwrite uiautomationcore msasn1 rsaenh shfolder linkinfo ntshrui cscapi mlang windowscodecs actxprxy
  textinputframework windows.storage samcli wkscli srvcli davclnt"
plant_folders() { echo "$medium" "$medium/DirectX" "$prefix/drive_c/$title"; }

# Lays the plants and makes Wine search the program's folder first for them, for Setup.exe
# alone: the programs it starts keep Wine's own DLLs.
plant_dlls() {
  local folder n reg=$work/plants.reg
  mkdir -p "$prefix/drive_c/$title"
  printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\Setup.exe\\DllOverrides]\n' >"$reg"
  for n in $planted_names; do
    printf '"%s"="native,builtin"\n' "$n" >>"$reg"
    for folder in $(plant_folders); do
      # Wine's user32, unlike Windows' known one, imports version.dll: from beside Setup.exe it
      # would be loaded before the setup's first line, by Wine's own doing.
      [ "$n" = version ] && [ "$folder" = "$medium" ] && continue
      cp "$work/plant.dll" "$folder/$n.dll" || return 1
    done
  done
  wine regedit /S "$(winpath "$reg")" </dev/null >/dev/null 2>&1
}

unplant_dlls() {
  local folder n
  for folder in $(plant_folders); do
    for n in $planted_names; do rm -f "$folder/$n.dll"; done
  done
  wine reg delete 'HKCU\Software\Wine\AppDefaults\Setup.exe' /f </dev/null >/dev/null 2>&1
}

# What the setup's loader trace and the plants' notes say was loaded from the planted folders.
planted_loads() {  # trace
  local pid
  pid=$(grep -m1 -a 'trace:loaddll:.*Loaded L".*\\Setup\.exe"' "$1" | cut -d: -f1)
  [ -n "$pid" ] || { echo "no loader trace of Setup.exe"; return; }
  # A 32-bit setup on a 64-bit Windows loads from syswow64.
  grep -a "^$pid:" "$1" | grep -Eq 'Loaded L"C:\\\\windows\\\\(system32|syswow64)\\\\comctl32\.dll".*builtin' ||
    echo "the trace does not show comctl32 loaded from the system's folder"
  grep -a "^$pid:.*trace:loaddll:.*: native" "$1" | grep -av '\\Setup\.exe"' | sed 's/^.*Loaded /loaded /'
  [ -f "$prefix/drive_c/plant.log" ] && grep -a 'Setup\.exe' "$prefix/drive_c/plant.log" | sed 's/^/noted /'
}

# The pressed medium as a disc in $work/disc, made and mounted on first use; says why not when
# it cannot be. The image holds no Rock Ridge names, so the mount shows the Joliet tree, the names
# Windows reads from a CD.
disc_mount() {
  local disc=$work/disc iso=$work/medium.iso
  mountpoint -q "$disc" && return 0
  [ -e /dev/fuse ] && command -v fuseiso >/dev/null && command -v fusermount >/dev/null ||
    { echo "FUSE is missing (/dev/fuse, fuseiso, fusermount: packages fuseiso and fuse)"; return 1; }
  command -v xorriso >/dev/null || { echo "xorriso is missing (package xorriso)"; return 1; }
  if [[ $setupdata == *.exe ]]; then  # the Windows tool runs no xorriso: the same image without it
    xorriso -as mkisofs -input-charset UTF-8 -J --norock -f -V "$title" -o "$iso" "$medium" >"$out/image.log" 2>&1
  else
    "$setupdata" image "$medium" "$iso" --joliet-only >"$out/image.log" 2>&1
  fi || { echo "the image could not be made: $(tail -1 "$out/image.log")"; return 1; }
  mkdir -p "$disc" && fuseiso "$iso" "$disc" </dev/null >>"$out/image.log" 2>&1 ||
    { echo "fuseiso could not mount the image: $(tail -1 "$out/image.log")"; return 1; }
}

directive() {  # script, name, default
  local v
  v=$(sed -n "s/^# $2: *//p" "$1" | head -1)
  echo "${v:-$3}"
}

# The scenario's prefix and start folder (locals of run_scenario) for the "user" and "start-in"
# directives; a user's prefix is made on first use, with shell folders of its own.
player_place() {  # script
  local user folder
  user=$(directive "$1" user "")
  if [ -n "$user" ]; then
    # Wine takes the user's name from USER at every start, not only when the prefix is made.
    WINEPREFIX=$work/user-$user
    export USER=$user
    if [ ! -d "$WINEPREFIX" ]; then
      USER=$user "$repo/scripts/wine-prefix.sh" "$WINEPREFIX" "$medium" </dev/null >/dev/null 2>&1 ||
        { echo "FAILED prefix for $user"; return 1; }
      [ -d "$WINEPREFIX/drive_c/users/$user" ] || { echo "FAILED no profile folder named $user"; return 1; }
      for link in "$WINEPREFIX/drive_c/users/$user"/*; do
        [ -L "$link" ] && rm "$link" && mkdir "$link"
      done
    fi
  fi
  folder=$(directive "$1" start-in "")
  if [ -n "$folder" ]; then
    start_folder=$WINEPREFIX/drive_c/$folder
    [ -d "$start_folder" ] || cp -a "$medium" "$start_folder"
  fi
  return 0
}

# A Western system with the Japanese fonts of the host but nothing that names them as the
# dialogs do: made once, on first use. The scenario's programs run in it (locals of run_scenario).
western_prefix() {
  local western=$work/western
  if [ ! -d "$western" ]; then
    LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8 SETUP_FONT_REPLACEMENTS=no "$repo/scripts/wine-prefix.sh" "$western" "$medium" \
      </dev/null >/dev/null 2>&1 || { echo "FAILED western prefix set-up"; return 1; }
    for link in "$western/drive_c/users/$(id -un)"/*; do
      [ -L "$link" ] && rm "$link" && mkdir "$link"
    done
  fi
  WINEPREFIX=$western LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8
  return 0
}

run_scenario() {  # name, or the path of a .drive file
  local name script
  if [[ $1 == *.drive ]]; then script=$(realpath "$1"); name=$(basename "$1" .drive)
  else script="$here/$1.drive"; name=$1; fi
  local log="$out/$name.log"
  [ -f "$script" ] || { echo "FAILED $name: no such scenario"; return 1; }
  local WINEPREFIX=$WINEPREFIX LANG=$LANG LC_ALL=$LC_ALL USER=${USER-} start_folder=
  player_place "$script" || return 1
  if [ "$(directive "$script" prefix default)" = western ]; then western_prefix || return 1; fi
  local want_exit want_installed from
  want_exit=$(directive "$script" exit 1)
  want_installed=$(directive "$script" installed no)
  from=$medium
  local source
  source=$(directive "$script" medium pressed)
  [ "$source" = bare ] && from=$bare
  if [ "$source" = image ]; then
    local why
    why=$(disc_mount) || { printf 'skipped %-28s: %s\n' "$name" "$why"; return 0; }
    from=$work/disc
    ln -sfn "$from" "$WINEPREFIX/dosdevices/d:"
  fi
  reset_state
  local plants debug=$WINEDEBUG
  plants=$(directive "$script" plants no)
  if [ "$plants" = yes ]; then
    plant_dlls || { unplant_dlls; echo "FAILED $name: the plants could not be laid"; return 1; }
    debug=+pid,+loaddll
  fi
  local t0=$SECONDS
  (cd "${start_folder:-$from}" && WINEDEBUG=$debug PLANT_LOG='C:\plant.log' exec wine 'Setup.exe' \
    >"$out/$name.setup.log" 2>&1) &
  local setup_pid=$!
  wine "$driver_exe" --timeout "$timeout" --verbose "$(winpath "$script")" >"$log" 2>"$log.steps"
  local driver_rc=$?
  # The setup has its own time to end once the script is done.
  local waited=0
  while kill -0 "$setup_pid" 2>/dev/null && [ $waited -lt 150 ]; do sleep 0.1; waited=$((waited + 1)); done
  local problem=
  if kill -0 "$setup_pid" 2>/dev/null; then
    kill "$setup_pid" 2>/dev/null
    wait "$setup_pid" 2>/dev/null
    problem="Setup.exe still ran after the script"
  else
    wait "$setup_pid"
    local rc=$?
    [ "$rc" = "$want_exit" ] || problem="Setup.exe ended with exit code $rc, expected $want_exit"
  fi
  if [ $driver_rc -ne 0 ]; then
    problem=$(sed 's/^/    /' "$log")
    [ -n "$problem" ] || problem="    setup_driver.exe ended with $driver_rc: $(tail -3 "$log.steps")"
    problem=$'\n'"$problem"
  fi
  [ "$source" = image ] && ln -sfn "$medium" "$WINEPREFIX/dosdevices/d:"
  if [ "$plants" = yes ]; then
    local loads
    loads=$(planted_loads "$out/$name.setup.log")
    [ -z "$loads" ] || problem="$problem"$'\n'"$(sed 's/^/    /' <<<"$loads")"
    unplant_dlls
  fi
  # The installed-state record as Windows' own reg tool sees it.
  if [ -z "$problem" ]; then
    local value
    value=$(wine reg query "$key" /v Install 2>/dev/null | tr -d '\r' | iconv -f cp932 -t utf-8 |
            sed -n 's/^ *Install *REG_SZ *//p')
    if [ "$want_installed" = yes ] && [ "$value" != "C:\\$title" ]; then
      problem="reg query: Install is \"$value\", expected \"C:\\$title\""
    elif [ "$want_installed" = no ] && wine reg query "$key" >/dev/null 2>&1; then
      problem="reg query: the installed-state key exists"
    fi
  fi
  if [ -z "$problem" ]; then
    printf 'ok      %-28s %3ds\n' "$name" $((SECONDS - t0))
    return 0
  fi
  printf 'FAILED  %-28s %3ds: %s\n' "$name" $((SECONDS - t0)) "$problem"
  return 1
}

run_scenarios() {  # state folder, scenario...
  . "$1/state" || return 2
  shift
  local failed=0 s
  for s in "$@"; do
    run_scenario "$s" || failed=$((failed + 1))
  done
  for bmp in "$out"/shots/*.bmp; do
    [ -e "$bmp" ] && convert "$bmp" "${bmp%.bmp}.png" && rm "$bmp"
  done
  [ $# -gt 1 ] && echo "$# scenarios, $failed failed; logs and screenshots in $out"
  [ $failed -eq 0 ]
}

case "${1:-}" in
  --setup)
    [ $# -eq 2 ] || { echo "usage: run.sh --setup STATE" >&2; exit 2; }
    tear_down "$2"
    set_up "$2" || { status=$?; tear_down "$2"; exit $status; }
    exit 0 ;;
  --in)
    [ $# -ge 3 ] || { echo "usage: run.sh --in STATE scenario..." >&2; exit 2; }
    state=$2
    shift 2
    run_scenarios "$state" "$@"
    exit ;;
  --teardown)
    [ $# -eq 2 ] || { echo "usage: run.sh --teardown STATE" >&2; exit 2; }
    tear_down "$2"
    exit 0 ;;
esac

started_at=$(date +%s)
work=$(mktemp -d /tmp/setup-e2e.XXXXXX)
trap 'tear_down "$work"' EXIT
set_up "$work" || exit
if [ $# -gt 0 ]; then
  scenarios=("$@")
else
  scenarios=()
  for f in "$here"/[0-9]*.drive; do scenarios+=("$(basename "$f" .drive)"); done
  scenarios+=(demo_walk)
fi
status=0
run_scenarios "$work" "${scenarios[@]}" || status=$?
echo "$(($(date +%s) - started_at)) s in all"
exit $status
