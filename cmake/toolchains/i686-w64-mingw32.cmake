# 32-bit Windows with mingw-w64 (see mingw-w64.cmake): the module makers' DLLs are 32-bit.
set(TARVIK_MINGW_TRIPLE i686-w64-mingw32)
set(TARVIK_MINGW_PROCESSOR X86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
