#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12, skipping what is already there.
set -euo pipefail

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

pkgs=(cmake g++ make pkg-config g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64
      libgtest-dev googletest libbenchmark-dev libsndfile1-dev libcairo2-dev libx11-dev
      libxtst-dev fonts-liberation clang libclang-rt-14-dev xvfb xauth wine wine32:i386 wine64 python3)
for p in "${pkgs[@]}"; do have "$p" || need+=("$p"); done

if [ ${#need[@]} -eq 0 ]; then
    exit 0
fi

if [ "$(id -u)" != 0 ]; then
    echo "install-deps: missing packages (${need[*]}); run as root to install them" >&2
    exit 1
fi

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${need[@]}"
