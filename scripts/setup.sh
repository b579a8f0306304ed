#!/usr/bin/env bash
# Installs, only when missing, every Debian package the project needs to build,
# test and run. Safe to run any number of times.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkgconf make
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang
  libpugixml-dev zlib1g-dev libinih-dev libfftw3-dev libftdi1-dev
  qt6-base-dev qt6-qpa-plugins gettext xvfb xauth fonts-dejavu-core
  iproute2 util-linux procps binutils dpkg-dev file
  python3-pyvisa python3-pyvisa-py python3-pytest python3-pip python3-setuptools python3-venv
)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
updated=0

is_installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

install_missing() {
  local missing=()
  for p in "$@"; do
    is_installed "$p" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "setup: installing ${missing[*]}"
  if [ "$updated" -eq 0 ]; then
    $SUDO apt-get update -qq
    updated=1
  fi
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

install_missing "${packages[@]}"

# The fuzzers' runtime (libFuzzer and the sanitizers) must come from the same
# release as the compiler: "clang" depends on one versioned "clang-N".
clang_major=$(dpkg-query -W -f='${Depends}' clang 2>/dev/null | grep -o 'clang-[0-9]\+' | head -n 1 | cut -d- -f2 || true)
if [ -z "$clang_major" ]; then
  echo "setup: cannot tell which clang release the clang package installs" >&2
  exit 1
fi
install_missing "libclang-rt-${clang_major}-dev"
