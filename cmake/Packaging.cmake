# CPack: the Debian package of the Linux build (cpack -G DEB in build/linux; scripts/package.sh
# runs it). It holds what cmake --install puts under /usr. The Windows zip is made from the two
# Windows trees' installs by scripts/package.sh.
if(WIN32)
    return()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brindleloop)
set(CPACK_PACKAGE_VENDOR "Fennelworks")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "dynamic buffer freezer, a stereo VST 2, LV2 and CLAP effect plug-in")
set(CPACK_PACKAGE_DESCRIPTION
    "brindleLoop watches the level of its input and, when it crosses a threshold, records a
tempo-synchronised stretch of it and plays it back as a loop: a sixteen-step sequence of
loop lengths, filters before the follower and after the loop, bit reduction and MIDI
control. The package holds the VST 2 plug-in for Linux hosts (/usr/lib/vst/brindleLoop.so),
the LV2 plug-in with its editor and presets (/usr/lib/lv2/brindleLoop.lv2), the CLAP plug-in
(/usr/lib/clap/brindleLoop.clap), the offline host brindleloop-render, the inspector brindleloop-info, factory presets and the documentation.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "brindleLoop maintainers <maintainers@users.noreply.c-seed-1a1dfe97.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends comes from dpkg-shlibdeps, which reads what the plug-in and the tools link
# (cairo, X11, libsndfile, the C++ runtime).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE brindle_deb_arch
                OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
if(NOT brindle_deb_arch)
    set(brindle_deb_arch amd64)
endif()
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${brindle_deb_arch})
set(CPACK_DEBIAN_FILE_NAME "brindleloop_${PROJECT_VERSION}_${brindle_deb_arch}.deb")

include(CPack)
