#!/usr/bin/env bash
# Installs, from Debian's packages, everything the build and the tests need. Idempotent: quiet and
# quick when all is there already.
set -euo pipefail

# "wine" is only the launcher script; with wine64 beside it nothing 32-bit comes along.
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
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
# ja_JP for the Japanese Windows of the main job; en_US for the Western one of the font test.
for loc in ja_JP en_US; do
  if ! locale -a 2>/dev/null | grep -qi "^$loc.utf8\$"; then
    $sudo sed -i "s/^# *$loc.UTF-8 UTF-8/$loc.UTF-8 UTF-8/" /etc/locale.gen
    grep -q "^$loc.UTF-8 UTF-8" /etc/locale.gen || echo "$loc.UTF-8 UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null
    $sudo locale-gen >/dev/null
  fi
done
