# 64-bit ARM Linux (Raspberry Pi OS 64-bit, other arm64 boards) cross build with Debian's
# g++-aarch64-linux-gnu. The libraries (Cairo, X11, libsndfile, GoogleTest) are Debian's arm64
# packages installed beside the native ones (multiarch); tests run under qemu-user.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)
# pkg-config reads the arm64 packages' files only.
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/aarch64-linux-gnu/pkgconfig:/usr/share/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")
# The cross toolchain's C library and loader first, then the arm64 libraries under /.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L /usr/aarch64-linux-gnu)
