# The Qt libraries and plugins the desktop program loads, and the MinGW runtime they were built
# against, installed beside nimbrel.exe: Qt looks for its plugins in folders beside the program
# (platforms/, styles/, imageformats/, iconengines/), so no qt.conf is needed. The program
# itself carries its C++ runtime inside; the Qt libraries use the shared one.
foreach(_module Core Gui Widgets Svg)
    install(FILES $<TARGET_FILE:Qt6::${_module}> DESTINATION .)
endforeach()

# Plugin target, folder: the Windows platform, its native style, and the SVG pictures and icons.
set(_plugins
    QWindowsIntegrationPlugin platforms
    QWindowsVistaStylePlugin styles
    QSvgPlugin imageformats
    QICOPlugin imageformats
    QSvgIconPlugin iconengines)
while(_plugins)
    list(POP_FRONT _plugins _plugin _folder)
    if(TARGET Qt6::${_plugin})
        install(FILES $<TARGET_FILE:Qt6::${_plugin}> DESTINATION ${_folder})
    elseif(_plugin STREQUAL "QWindowsIntegrationPlugin")
        message(FATAL_ERROR "The Qt for Windows in ${QT6_INSTALL_PREFIX} has no Windows platform plugin")
    endif()
endwhile()

foreach(_runtime libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${_runtime}
                    OUTPUT_VARIABLE _path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${_path}" OR NOT EXISTS "${_path}")
        message(FATAL_ERROR "The MinGW runtime ${_runtime} was not found")
    endif()
    install(FILES ${_path} DESTINATION .)
endforeach()
