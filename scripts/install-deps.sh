#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12, skipping what is already there.
# dpkg-dev and file are for the Debian package's dependencies (scripts/package.sh); the
# aarch64 tree needs the cross compiler, qemu-user and the arm64 libraries beside the native
# ones (multiarch).
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"

install_packages cmake g++ make pkg-config g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64 \
    libgtest-dev googletest libbenchmark-dev libsndfile1-dev libcairo2-dev libx11-dev \
    libxtst-dev fonts-liberation clang libclang-rt-14-dev xvfb xauth wine wine32:i386 wine64 python3 \
    dpkg-dev file \
    g++-aarch64-linux-gnu qemu-user libcairo2-dev:arm64 libx11-dev:arm64 libxtst-dev:arm64 \
    libsndfile1-dev:arm64 libgtest-dev:arm64
# The LV2 edition: headers, lilv for the tests, lv2ls/lv2info/lv2apply, and jalv for the UI run;
# and for the aarch64 tree the arm64 headers (lv2.pc lies in the architecture's pkgconfig folder)
# and lilv, whose LV2 bit-identity test runs there under qemu-user.
install_packages lv2-dev liblilv-dev lilv-utils jalv sordi lv2-dev:arm64 liblilv-dev:arm64
# The CLAP edition's tests: Qtractor's plug-in scanner (a real host's view of the plug-in) and
# Debian's zam-plugins, whose CLAP plug-ins check the project's CLAP test host.
install_packages qtractor zam-plugins
