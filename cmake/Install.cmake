# What `cmake --install` puts under the prefix. Linux: the plug-in where VST 2 hosts look
# (lib/vst), the LV2 bundle (lib/lv2), the VST 3 bundle (lib/vst3), the CLAP plug-in (lib/clap), the tools in bin/, presets and documentation under share/. Windows: the DLL in a
# folder named for its word size and the VST 3 binary in brindleLoop.vst3/Contents/<arch>, so that the 32-bit and 64-bit trees install side by side into
# one folder that becomes the Windows zip (scripts/package.sh).
# Presets are globbed when installing, so a presets/ folder that is empty or missing is fine.

if(WIN32)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        set(brindle_win_folder win32)
    else()
        set(brindle_win_folder win64)
    endif()
    # The DLL alone: its import library is of no use to a host.
    install(TARGETS brindleLoop RUNTIME DESTINATION ${brindle_win_folder}
            ARCHIVE DESTINATION lib EXCLUDE_FROM_ALL)
    # The CLAP plug-in beside it (a module: installed as a library).
    if(TARGET brindleLoop_clap)
        install(TARGETS brindleLoop_clap LIBRARY DESTINATION ${brindle_win_folder})
    endif()
    set(BRINDLE_PRESET_DESTINATION presets)
    install(FILES ${PROJECT_SOURCE_DIR}/cmake/README-windows.txt DESTINATION . RENAME README.txt)
    install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
    # The VST 3 bundle: both Windows trees install their binary into the same bundle folder.
    set(brindle_vst3_destination brindleLoop.vst3)
else()
    install(TARGETS brindleLoop LIBRARY DESTINATION lib/vst)
    # The CLAP plug-in where CLAP hosts look (lib/clap).
    if(TARGET brindleLoop_clap)
        install(TARGETS brindleLoop_clap LIBRARY DESTINATION lib/clap)
    endif()
    # The LV2 bundle where LV2 hosts look (lib/lv2): both binaries and the generated Turtle.
    if(TARGET brindleLoop_dsp)
        install(TARGETS brindleLoop_dsp brindleLoop_ui LIBRARY DESTINATION lib/lv2/brindleLoop.lv2)
        install(FILES ${BRINDLE_LV2_BUNDLE}/manifest.ttl ${BRINDLE_LV2_BUNDLE}/brindleLoop.ttl
                      ${BRINDLE_LV2_BUNDLE}/presets.ttl DESTINATION lib/lv2/brindleLoop.lv2)
    endif()
    # The VST 3 bundle where VST 3 hosts look (lib/vst3).
    set(brindle_vst3_destination lib/vst3/brindleLoop.vst3)
    if(BRINDLE_TOOLS)
        install(TARGETS brindleloop-info brindleloop-render RUNTIME DESTINATION bin)
    endif()
    set(BRINDLE_PRESET_DESTINATION share/brindleloop/presets)
    install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION share/doc/brindleloop)
    # The licence as Debian keeps it: machine-readable, at the package's documentation.
    install(FILES ${PROJECT_SOURCE_DIR}/cmake/debian-copyright DESTINATION share/doc/brindleloop RENAME copyright)
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION share/doc/brindleloop/docs
            FILES_MATCHING PATTERN "*.png")
endif()

if(TARGET brindleLoop_vst3)
    install(TARGETS brindleLoop_vst3 LIBRARY DESTINATION ${brindle_vst3_destination}/Contents/${BRINDLE_VST3_ARCH}
            RUNTIME DESTINATION ${brindle_vst3_destination}/Contents/${BRINDLE_VST3_ARCH}
            ARCHIVE DESTINATION lib EXCLUDE_FROM_ALL)
    install(FILES ${BRINDLE_VST3_BUNDLE}/Contents/Resources/moduleinfo.json
            DESTINATION ${brindle_vst3_destination}/Contents/Resources)
endif()

install(CODE "
    file(GLOB presets \"${PROJECT_SOURCE_DIR}/presets/*.fxp\" \"${PROJECT_SOURCE_DIR}/presets/*.fxb\")
    if(presets)
        file(INSTALL \${presets} DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${BRINDLE_PRESET_DESTINATION}\")
    endif()
")
