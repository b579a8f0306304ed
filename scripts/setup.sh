#!/usr/bin/env bash
# Installs, only when missing, every Debian package the project needs to build,
# test and run. Safe to run any number of times.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkgconf make
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  libpugixml-dev zlib1g-dev libinih-dev
  qt6-base-dev qt6-qpa-plugins gettext xvfb xauth fonts-dejavu-core
  iproute2 util-linux procps binutils dpkg-dev file
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
