# cmake -DBUILD=<tree> -DSOURCE=<checkout> -DSTAGE=<scratch dir> -P CheckInstall.cmake
# Fails with a message naming what is missing, extra or broken.
function(run_checked what)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "${what} failed (${rc}):\n${out}")
    endif()
    set(run_output "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${STAGE})
run_checked("cmake --install" ${CMAKE_COMMAND} -E env DESTDIR=${STAGE}
            ${CMAKE_COMMAND} --install ${BUILD} --prefix /usr)

# Exactly these files, nothing outside /usr; presets and pictures as the checkout holds them.
set(usr ${STAGE}/usr)
file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE ${STAGE} ${STAGE}/*)
set(expected usr/bin/brindleloop-info usr/bin/brindleloop-render usr/lib/vst/brindleLoop.so
             usr/lib/clap/brindleLoop.clap usr/share/doc/brindleloop/README.md usr/share/doc/brindleloop/copyright)
foreach(name brindleLoop_dsp.so brindleLoop_ui.so manifest.ttl brindleLoop.ttl presets.ttl)
    list(APPEND expected usr/lib/lv2/brindleLoop.lv2/${name})
endforeach()
list(APPEND expected usr/lib/vst3/brindleLoop.vst3/Contents/x86_64-linux/brindleLoop.so
                     usr/lib/vst3/brindleLoop.vst3/Contents/Resources/moduleinfo.json)
file(GLOB pictures RELATIVE ${SOURCE}/docs ${SOURCE}/docs/*.png)
foreach(name ${pictures})
    list(APPEND expected usr/share/doc/brindleloop/docs/${name})
endforeach()
file(GLOB presets RELATIVE ${SOURCE}/presets ${SOURCE}/presets/*.fxp ${SOURCE}/presets/*.fxb)
foreach(name ${presets})
    list(APPEND expected usr/share/brindleloop/presets/${name})
endforeach()
list(SORT installed)
list(SORT expected)
if(NOT installed STREQUAL expected)
    set(missing ${expected})
    list(REMOVE_ITEM missing ${installed})
    set(extra ${installed})
    list(REMOVE_ITEM extra ${expected})
    message(FATAL_ERROR "installed files differ\n  missing: ${missing}\n  extra: ${extra}")
endif()

run_checked("installed brindleloop-info" ${usr}/bin/brindleloop-info ${usr}/lib/vst/brindleLoop.so)
if(NOT run_output MATCHES "unique ID +'BRLP'")
    message(FATAL_ERROR "brindleloop-info did not read the installed plug-in:\n${run_output}")
endif()

# Without --plugin the installed render tool must play the installed plug-in: it renders, and
# it fails once that one file is moved away (the build tree's plug-in is not beside it).
run_checked("installed brindleloop-render --demo" ${usr}/bin/brindleloop-render --demo --demo-seconds 4 --quiet -o ${STAGE}/demo.wav)
file(SIZE ${STAGE}/demo.wav demo_bytes)
if(demo_bytes LESS 100000)
    message(FATAL_ERROR "the demo render is only ${demo_bytes} bytes")
endif()
# LV2 hosts find the installed bundle alone and play it.
find_program(LV2LS lv2ls)
find_program(LV2APPLY lv2apply)
if(LV2LS)
    run_checked("lv2ls" ${CMAKE_COMMAND} -E env LV2_PATH=${usr}/lib/lv2 ${LV2LS})
    if(NOT run_output STREQUAL "urn:fennelworks:brindleloop\n")
        message(FATAL_ERROR "lv2ls over the installed bundle listed:\n${run_output}")
    endif()
endif()
# A sanitized plug-in loads only into sanitized programs: lv2apply plays the plain trees'.
if(LV2APPLY AND NOT SANITIZED)
    run_checked("lv2apply" ${CMAKE_COMMAND} -E env LV2_PATH=${usr}/lib/lv2 ${LV2APPLY}
                -i ${STAGE}/demo.wav -o ${STAGE}/lv2.wav urn:fennelworks:brindleloop)
    file(SIZE ${STAGE}/lv2.wav lv2_bytes)
    if(lv2_bytes LESS 100000)
        message(FATAL_ERROR "the lv2apply render is only ${lv2_bytes} bytes")
    endif()
endif()
file(RENAME ${usr}/lib/vst/brindleLoop.so ${STAGE}/moved.so)
execute_process(COMMAND ${usr}/bin/brindleloop-render --demo --quiet -o ${STAGE}/none.wav
                RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
if(rc EQUAL 0 OR EXISTS ${STAGE}/none.wav)
    message(FATAL_ERROR "brindleloop-render rendered with the installed plug-in moved away")
endif()
file(REMOVE_RECURSE ${STAGE})
