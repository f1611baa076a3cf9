# Windows: what the window needs beside it to start, copied into the build folder so that folder
# runs as a user's copy would (scripts/windows-cross.sh lays out the portable folder from it):
#   Qt6Core, Qt6Gui, Qt6Widgets (and Qt6Test for the tests), platforms/ (qwindows, and qoffscreen
#   for the tests), styles/ (the native look), translations/ (Qt's own texts in Portuguese), and
#   the mingw runtime DLLs Qt links.
find_package(Qt6 REQUIRED COMPONENTS Test)

# The mingw runtime DLLs, where the compiler finds them.
set(runtime_dlls)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
        OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${found}")
        message(FATAL_ERROR "the mingw runtime DLL ${dll} was not found")
    endif()
    list(APPEND runtime_dlls ${found})
endforeach()

# Qt's Brazilian Portuguese texts for its own dialogs, from the build machine's Debian package
# (the same Qt version the cross build compiles), in translations/ where the window looks.
set(qt_translation /usr/share/qt6/translations/qtbase_pt_BR.qm)
if(NOT EXISTS ${qt_translation})
    message(FATAL_ERROR "${qt_translation} is missing: install qt6-translations-l10n")
endif()

set(qt_dlls $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>
    $<TARGET_FILE:Qt6::Test>)
add_custom_target(tarvik_windows_runtime ALL
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/platforms
        ${CMAKE_BINARY_DIR}/styles
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${qt_dlls} ${runtime_dlls} ${CMAKE_BINARY_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin>
        $<TARGET_FILE:Qt6::QOffscreenIntegrationPlugin> ${CMAKE_BINARY_DIR}/platforms
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin>
        ${CMAKE_BINARY_DIR}/styles
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/translations
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${qt_translation} ${CMAKE_BINARY_DIR}/translations
    COMMENT "Copying the Qt and mingw runtime DLLs beside the window")
