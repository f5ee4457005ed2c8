#!/usr/bin/env bash
# Installs, from Debian's packages, everything the build and the tests need. Idempotent: quiet and
# quick when all is there already.
set -euo pipefail

# "wine" is only the launcher script; with wine64 beside it nothing 32-bit comes along: 32-bit
# Wine is installed below.
packages=(cmake ninja-build g++ googletest libgtest-dev libbenchmark-dev
          g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine64 wine xvfb
          fonts-ipafont-gothic locales imagemagick clang clang-format strace
          xorriso fuseiso fuse)
# xorriso makes and reads disc images (setupdata image); fuseiso mounts one for the install from a
# disc, through FUSE (fuse: fusermount), since the kernel may lack an iso9660 driver.
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
here=$(cd "$(dirname "$0")" && pwd)

# 32-bit Wine, beside wine64, runs the i686 Setup.exe that ships (scripts/wine-arch.sh), where the
# kernel runs 32-bit programs.
wine32=()
if ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed' &&
   "$here/wine-arch.sh" --kernel; then
  wine32=(wine32:i386)
  dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
fi
apt_install() {  # apt-get options and packages
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends --no-remove "$@" >"$log" 2>&1
}
if [ ${#missing[@]} -gt 0 ] || [ ${#wine32[@]} -gt 0 ]; then
  wanted=("${missing[@]}" "${wine32[@]}")
  echo "installing: ${wanted[*]}"
  log=$(mktemp)
  pin=$(mktemp)
  trap 'rm -f "$log" "$pin"' EXIT
  # A mirror in mid-sync may fail one index (seen: the security suite's i386 one); what is
  # missing then shows below.
  $sudo apt-get update -qq >"$log" 2>&1 || true
  # With 32-bit Wine: every package in one go, by the first road that works.
  with_wine32() {
    [ ${#wine32[@]} -gt 0 ] || return 1
    apt_install "${wanted[@]}" && return 0
    # Without the security suite's i386 index, an i386 twin exists only at the main suite's
    # version: take that suite's versions for what is installed now. Below priority 1000 apt
    # never downgrades, and nothing is removed, so a person's machine keeps all it has.
    printf 'Package: *\nPin: release l=Debian-Security\nPin-Priority: 100\n' >"$pin"
    apt_install -o Dir::Etc::Preferences="$pin" "${wanted[@]}" && return 0
    if [ "${CI:-}" != true ]; then
      echo "32-bit Wine is not installed: its i386 libraries need amd64 ones downgraded, which is not done to a person's machine; \`sudo CI=true scripts/setup-machine.sh\` would do it"
      return 1
    fi
    # A throwaway machine: libraries already at the security suite's version go back to the
    # main suite's, so that their i386 twins match.
    printf 'Package: *\nPin: release n=%s\nPin-Priority: 1001\n' "$(. /etc/os-release && echo "$VERSION_CODENAME")" >"$pin"
    apt_install --allow-downgrades -o Dir::Etc::Preferences="$pin" "${wanted[@]}" && return 0
    echo "32-bit Wine could not be installed:"
    tail -5 "$log"
    return 1
  }
  if ! with_wine32 && [ ${#missing[@]} -gt 0 ]; then
    apt_install "${missing[@]}" || { cat "$log"; exit 1; }
  fi
fi
# ja_JP for the Japanese Windows of the main job; en_US for the Western one of the font test.
for loc in ja_JP en_US; do
  if ! locale -a 2>/dev/null | grep -qi "^$loc.utf8\$"; then
    $sudo sed -i "s/^# *$loc.UTF-8 UTF-8/$loc.UTF-8 UTF-8/" /etc/locale.gen
    grep -q "^$loc.UTF-8 UTF-8" /etc/locale.gen || echo "$loc.UTF-8 UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null
    $sudo locale-gen >/dev/null
  fi
done
