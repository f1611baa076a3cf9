# Shared part of the Windows toolchains: Debian's mingw-w64 compilers for TARVIK_MINGW_TRIPLE,
# the static dependencies of scripts/windows-cross.sh under TARVIK_WINDOWS_DEPS, its Qt for
# Windows under TARVIK_WINDOWS_QT (x86_64 only), and wine to run what is built. The posix-thread
# compilers, because the program uses std::thread and Qt is built with them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${TARVIK_MINGW_PROCESSOR})
set(CMAKE_C_COMPILER ${TARVIK_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TARVIK_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TARVIK_MINGW_TRIPLE}-windres)

# Try-compiles see the same dependency folder.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TARVIK_WINDOWS_DEPS TARVIK_WINDOWS_QT)
foreach(folder TARVIK_WINDOWS_DEPS TARVIK_WINDOWS_QT)
    if(NOT ${folder} AND DEFINED ENV{${folder}})
        set(${folder} "$ENV{${folder}}")
    endif()
endforeach()
set(CMAKE_FIND_ROOT_PATH /usr/${TARVIK_MINGW_TRIPLE} ${TARVIK_WINDOWS_DEPS} ${TARVIK_WINDOWS_QT})
if(TARVIK_WINDOWS_QT)
    # The host's moc, rcc and uic, of the same version, do the host side of the cross-built Qt.
    set(QT_HOST_PATH /usr)
    set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
if(TARVIK_WINDOWS_DEPS)
    set(ENV{PKG_CONFIG_LIBDIR} "${TARVIK_WINDOWS_DEPS}/lib/pkgconfig")
    set(ENV{PKG_CONFIG_PATH} "")
endif()

# The runtime libraries go into each program and DLL, so they need the system DLLs only.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")

# /usr/bin/wine starts its 32-bit loader first, even for a 64-bit program, and some kernels
# cannot run 32-bit programs at all: 64-bit programs go straight to the 64-bit loader.
if(TARVIK_MINGW_PROCESSOR STREQUAL "AMD64" AND EXISTS /usr/lib/wine/wine64)
    set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
else()
    set(CMAKE_CROSSCOMPILING_EMULATOR wine)
endif()
