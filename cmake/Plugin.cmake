# The plug-in binary: brindleLoop.dll on Windows, brindleLoop.so on Linux.
add_library(brindleLoop SHARED
    host/PluginEntry.cpp
    host/FreezeEffectEdit.cpp)
brindle_warnings(brindleLoop)
target_link_libraries(brindleLoop PRIVATE brindle_editor brindle_engine brindle_host)
if(TARGET brindle_gui)
    target_link_libraries(brindleLoop PRIVATE brindle_gui)
endif()
if(TARGET brindle_resources)
    target_link_libraries(brindleLoop PRIVATE brindle_resources)
endif()
set_target_properties(brindleLoop PROPERTIES
    PREFIX ""
    OUTPUT_NAME brindleLoop
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/plugin
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/plugin)
if(WIN32)
    # Exports main and VSTPluginMain through a module-definition file.
    target_sources(brindleLoop PRIVATE host/brindleLoop.def)
else()
    target_link_options(brindleLoop PRIVATE
        -Wl,--version-script=${CMAKE_SOURCE_DIR}/host/exports.map -Wl,--no-undefined)
endif()
set(BRINDLE_PLUGIN_PATH $<TARGET_FILE:brindleLoop>)
