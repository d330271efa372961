#!/usr/bin/env bash
# Installs every package the build and the tests need. Safe to run again:
# it only calls apt-get when something is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang make git pkg-config
  googletest libgtest-dev libgmock-dev
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools
  wine wine64 libwine-dev
  xvfb xauth x11-apps imagemagick
  libsimpleini-dev libinih-dev libspdlog-dev
  libclang-rt-14-dev valgrind
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -eq 0 ]; then
  echo "bootstrap: every package is present"
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  SUDO=sudo
else
  SUDO=
fi
echo "bootstrap: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
