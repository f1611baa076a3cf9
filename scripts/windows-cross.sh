#!/usr/bin/env bash
# Builds the command line (tarvik.exe), the module emulator (mfe.dll), the Integrador stand-in
# and the Qt-free tests for Windows with Debian's mingw-w64, and runs the tests under wine.
#
#   bash scripts/windows-cross.sh [--dependencies] [x86_64] [i686]     (both when none is named)
#
# --dependencies: only build the dependencies that are not cached yet.
#
# The dependencies (libxml2, OpenSSL, xmlsec1, GoogleTest, zlib, SQLite, libzip) are cross-built once from Debian's own
# source packages, as static libraries, into a folder keyed by their versions:
#   ${XDG_CACHE_HOME:-$HOME/.cache}/tarvikplus/windows-deps/<arch>-<versions>
# A rerun skips every one already there. Builds go to build-windows-<arch>/.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
only_dependencies=
if [ "${1:-}" = --dependencies ]; then
    only_dependencies=1
    shift
fi
arches=("$@")
[ ${#arches[@]} -gt 0 ] || arches=(x86_64 i686)
jobs=${WINDOWS_CROSS_JOBS:-2}
cache=${XDG_CACHE_HOME:-$HOME/.cache}/tarvikplus/windows-deps

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# The cross compilers, wine for both architectures (wine32 needs i386 added first) and the
# source packages of the dependencies (deb-src lines beside the deb ones).
setup() {
    local packages=(mingw-w64 wine wine64 wine32:i386 dpkg-dev pkg-config cmake ninja-build
        make perl tcl nlohmann-json3-dev qt6-base-dev qt6-base-dev-tools qt6-translations-l10n nsis zip
        fonts-wine xvfb xauth
        x11-utils) missing=() p update=
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$p")
    done
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        as_root dpkg --add-architecture i386
        update=1
    fi
    if ! grep -rqsE '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d; then
        add_deb_src
        update=1
    fi
    [ ${#missing[@]} -gt 0 ] && update=1
    [ -z "$update" ] || as_root apt-get update -q
    [ ${#missing[@]} -eq 0 ] ||
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
            "${missing[@]}"
}

# A deb-src entry for every deb entry, in a file of its own.
add_deb_src() {
    local out=/etc/apt/sources.list.d/tarvikplus-deb-src
    if ls /etc/apt/sources.list.d/*.sources >/dev/null 2>&1; then
        sed -E 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/*.sources |
            as_root tee "$out.sources" >/dev/null
    else
        grep -hE '^deb ' /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
            sed 's/^deb /deb-src /' | as_root tee "$out.list" >/dev/null
    fi
}

# The newest version of a source package that can be fetched, fetched into $cache/sources once.
# (The index may name a version the mirror no longer holds.)
source_version() {
    local version
    mkdir -p "$cache/sources"
    for version in $(apt-cache showsrc --only-source "$1" | awk '/^Version:/ {print $2}' |
        sort -rV); do
        if [ -e "$cache/sources/$1_${version#*:}.dsc" ] ||
            (cd "$cache/sources" && apt-get source -q --download-only "$1=$version" >/dev/null 2>&1)
        then
            echo "$version"
            return
        fi
    done
    echo "no source package of $1 could be fetched" >&2
    return 1
}

# The host Qt's version (its moc, rcc and uic build the cross-built Qt and our window), whose
# source is fetched into $cache/sources once.
host_qt_version() {
    local version
    version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)
    [ -e "$cache/sources/qt6-base_${version#*:}.dsc" ] ||
        (cd "$cache/sources" && apt-get source -q --download-only "qt6-base=$version" >/dev/null)
    echo "$version"
}

# The patched Debian source of a package, unpacked into src/ of the current folder.
debian_source() {
    dpkg-source --no-check -x "$cache/sources/$1_${2#*:}.dsc" src
}

build_libxml2() { # (triple, prefix)
    debian_source libxml2 "$libxml2_version"
    # LIBXML_STATIC: without it every libxml2 function is marked for export from the DLL that
    # links it.
    cmake -S src -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS=-DLIBXML_STATIC \
        -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/toolchains/$1.cmake" -DCMAKE_INSTALL_PREFIX="$2" \
        -DBUILD_SHARED_LIBS=OFF -DLIBXML2_WITH_ICONV=OFF -DLIBXML2_WITH_ICU=OFF \
        -DLIBXML2_WITH_ZLIB=OFF -DLIBXML2_WITH_LZMA=OFF -DLIBXML2_WITH_HTTP=OFF \
        -DLIBXML2_WITH_FTP=OFF -DLIBXML2_WITH_PYTHON=OFF -DLIBXML2_WITH_TESTS=OFF \
        -DLIBXML2_WITH_PROGRAMS=OFF -DLIBXML2_WITH_MODULES=OFF
    cmake --build build -j "$jobs"
    cmake --install build
}

build_openssl() {
    debian_source openssl "$openssl_version"
    # 32-bit: Debian's patch makes the assembler position-independent, which PE cannot hold.
    local target=(mingw64)
    [ "$1" = i686-w64-mingw32 ] && target=(mingw no-asm)
    (cd src && ./Configure "${target[@]}" no-shared no-tests --prefix="$2" --libdir=lib \
        --cross-compile-prefix="$1-" &&
        make -j "$jobs" build_libs && make install_dev)
}

build_xmlsec1() {
    debian_source xmlsec1 "$xmlsec1_version"
    # Debian's patches are newer than the generated files; keep make from regenerating them.
    find src \( -name configure -o -name aclocal.m4 -o -name 'Makefile.in' -o -name 'config.h.in' \) \
        -exec touch {} +
    # XMLSEC_STATIC: the static library refers to itself without DLL imports.
    (cd src && PKG_CONFIG_LIBDIR="$2/lib/pkgconfig" CPPFLAGS=-DXMLSEC_STATIC \
        ./configure --host="$1" --prefix="$2" \
        --enable-static --disable-shared --disable-crypto-dl --disable-apps-crypto-dl \
        --disable-apps --disable-docs --disable-mans --with-openssl="$2" --with-libxml="$2" \
        --without-libxslt --without-nss --without-gcrypt --without-gnutls &&
        make -j "$jobs" && make install)
}

build_googletest() {
    debian_source googletest "$googletest_version"
    cmake -S src -B build -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/toolchains/$1.cmake" -DCMAKE_INSTALL_PREFIX="$2" \
        -DBUILD_SHARED_LIBS=OFF -Dgtest_disable_pthreads=ON
    cmake --build build -j "$jobs"
    cmake --install build
}

# Qt for Windows: Core, Gui, Widgets and Test as DLLs, with the windows and offscreen platform
# plugins and the native style, cross-built from Debian's source of the host Qt's version, whose
# moc, rcc and uic do the host side. Its DLLs use the mingw runtime DLLs (shipped beside them), and
# the posix-thread compilers, as everything of ours does. Left out: all the window does not use.
build_qt() { # (triple, prefix)
    # (Run in an if, where bash's -e does not stop at a failed command: each step is chained.)
    # A half-hour build: one that was stopped (a session or a CI run that ended) goes on where it
    # stopped, when its work folder is this one.
    if [ -f build/CMakeCache.txt ] && grep -qx "CMAKE_HOME_DIRECTORY:INTERNAL=$(realpath src)" \
        build/CMakeCache.txt; then
        echo "resuming the build in $(realpath build)"
        cmake --build build --parallel "$jobs" && cmake --install build
        return
    fi
    rm -rf src build
    debian_source qt6-base "$qt_version" || return 1
    cat >toolchain.cmake <<EOF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(CMAKE_C_COMPILER $1-gcc-posix)
set(CMAKE_CXX_COMPILER $1-g++-posix)
set(CMAKE_RC_COMPILER $1-windres)
set(CMAKE_FIND_ROOT_PATH /usr/$1)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
EOF
    local toolchain=$PWD/toolchain.cmake
    mkdir build &&
        (cd build && ../src/configure -prefix "$2" -release -shared -xplatform win32-g++ \
            -qt-host-path /usr -nomake tests -nomake examples -no-pkg-config -no-opengl \
            -no-dbus -no-icu -no-openssl -no-vulkan -no-libjpeg -qt-zlib -qt-libpng -qt-pcre \
            -qt-harfbuzz -qt-freetype -qt-doubleconversion -no-feature-sql \
            -no-feature-network -no-feature-concurrent -no-feature-xml \
            -no-feature-printsupport -no-feature-tabletevent -no-feature-zstd -- -G Ninja \
            -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
            -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake) &&
        cmake --build build --parallel "$jobs" &&
        cmake --install build
}

# Builds one dependency into a prefix unless it is there already, and says how long it took
# (wall and CPU time, the CPU time of every process it ran). Its work folder, beside the prefix,
# is kept when the build fails or is stopped; only Qt's build resumes from it.
dependency() { # (name, triple, prefix)
    local work=$3.work-$1 start cpu
    [ -e "$3/.built-$1" ] && return
    echo "windows-cross: building $1 for $2"
    start=$SECONDS
    cpu=$(cpu_seconds)
    [ "$1" = qt ] || rm -rf "$work"
    mkdir -p "$3" "$work"
    if ! (cd "$work" && "build_$1" "$2" "$3") >"$work/log" 2>&1; then
        tail -n 40 "$work/log" >&2
        echo "windows-cross: building $1 for $2 failed (log: $work/log)" >&2
        exit 1
    fi
    rm -rf "$work"
    touch "$3/.built-$1"
    echo "windows-cross: $1 for $2 in $((SECONDS - start)) s (CPU $(($(cpu_seconds) - cpu)) s)"
}

# CPU seconds (user and system) used so far by the finished children of the script.
cpu_seconds() {
    awk -v tick="$(getconf CLK_TCK)" '{ printf "%d\n", ($16 + $17) / tick }' "/proc/$$/stat"
}

# Debian's zlib source has no Windows makefile: its library is the C files of the top folder.
build_zlib() {
    debian_source zlib "$zlib_version"
    local file
    for file in adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast \
        inflate inftrees trees uncompr zutil; do
        "$1-gcc" -O2 -c "src/$file.c" -o "$file.o" || return 1
    done
    "$1-ar" rcs libz.a ./*.o &&
        install -D -m644 libz.a "$2/lib/libz.a" &&
        install -D -m644 -t "$2/include" src/zlib.h src/zconf.h
}

# The amalgamation (sqlite3.c) is generated on this machine (it needs tclsh), then compiled for
# the target alone: SQLite's own build would link its shell and tools too.
build_sqlite3() {
    debian_source sqlite3 "$sqlite3_version"
    (cd src && ./configure --disable-tcl --disable-readline && make sqlite3.c) &&
        "$1-gcc" -O2 -DSQLITE_THREADSAFE=1 -DSQLITE_OMIT_LOAD_EXTENSION -c src/sqlite3.c \
            -o sqlite3.o &&
        "$1-ar" rcs libsqlite3.a sqlite3.o &&
        install -D -m644 libsqlite3.a "$2/lib/libsqlite3.a" &&
        install -D -m644 -t "$2/include" src/sqlite3.h src/sqlite3ext.h
}

# Deflate (zlib) only: the support package needs neither other methods nor encryption.
build_libzip() {
    debian_source libzip "$libzip_version"
    cmake -S src -B build -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/toolchains/$1.cmake" -DTARVIK_WINDOWS_DEPS="$2" \
        -DCMAKE_INSTALL_PREFIX="$2" -DBUILD_SHARED_LIBS=OFF -DENABLE_COMMONCRYPTO=OFF \
        -DENABLE_GNUTLS=OFF -DENABLE_MBEDTLS=OFF -DENABLE_OPENSSL=OFF -DENABLE_WINDOWS_CRYPTO=OFF \
        -DENABLE_BZIP2=OFF -DENABLE_LZMA=OFF -DENABLE_ZSTD=OFF -DBUILD_TOOLS=OFF \
        -DBUILD_REGRESS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_DOC=OFF &&
        cmake --build build -j "$jobs" &&
        cmake --install build
}

# Builds into $prefix whatever of them is not there yet, in dependency order.
dependencies() { # (triple, prefix)
    local dep
    for dep in libxml2 openssl xmlsec1 googletest zlib sqlite3 libzip; do
        dependency "$dep" "$1" "$2"
    done
}

# Wine, quiet, in a prefix of its own that is kept with the dependencies.
export WINEPREFIX=${WINEPREFIX:-$cache/../wine} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# The wine loader of an architecture: /usr/bin/wine starts the 32-bit loader first, even for a
# 64-bit program, so 64-bit programs go straight to the 64-bit one (as the toolchain's
# CMAKE_CROSSCOMPILING_EMULATOR does).
wine_for() { # (arch)
    if [ "$1" = x86_64 ] && [ -x /usr/lib/wine/wine64 ]; then
        echo /usr/lib/wine/wine64
    else
        echo wine
    fi
}

# Some kernels cannot run 32-bit programs ("Exec format error"); there the i686 programs are
# built and their exports checked, but nothing of them can run.
why_32bit_cannot_run() {
    local out
    out=$(/usr/lib/wine/wine --version 2>&1) && return 1
    echo "this machine cannot run 32-bit programs (/usr/lib/wine/wine: ${out##*: })"
}

# tarvik.exe --dll mfe.dll ConsultarSAT (through the library host, the default, and in
# process), then the same through integrador_standin.exe, in a folder holding the programs only,
# as a user would unpack them.
smoke() { # (build folder, arch)
    local folder out wine
    wine=$(wine_for "$2")
    folder=$(mktemp -d)
    cp "$1"/{tarvik.exe,tarvik_library_host.exe,mfe.dll,integrador_standin.exe} "$folder"
    # The folders an installed Integrador keeps (the stand-in, started alongside, may come second;
    # it answers a request already waiting there).
    mkdir -p "$folder/Integrador/Input" "$folder/Integrador/Output"
    (
        cd "$folder"
        export MFE_EMULADOR_ESTADO="$folder/estado.json"
        out=$("$wine" tarvik.exe --dll mfe.dll ConsultarSAT)
        grep -q '|08000|' <<<"$out" || { echo "library call: $out" >&2; exit 1; }
        out=$("$wine" tarvik.exe --processo-dll mesmo --dll mfe.dll ConsultarSAT)
        grep -q '|08000|' <<<"$out" || { echo "library call in process: $out" >&2; exit 1; }
        "$wine" integrador_standin.exe --dir Integrador --library mfe.dll --once --timeout 60 &
        out=$("$wine" tarvik.exe --integrador Integrador ConsultarSAT)
        wait $!
        grep -q '|08000|' <<<"$out" || { echo "Integrador round trip: $out" >&2; exit 1; }
    ) || { rm -rf "$folder"; echo "windows-cross: smoke test failed in $1" >&2; return 1; }
    rm -rf "$folder"
    echo "windows-cross: smoke test passed in $1 (library calls and Integrador round trip)"
}

# The 64-bit tarvik.exe reaching the 32-bit mfe.dll, as module makers ship it, through the 32-bit
# library host (tarvik_library_host32.exe beside it).
smoke_32bit_library() {
    local folder out cannot_run
    if cannot_run=$(why_32bit_cannot_run); then
        echo "windows-cross: SKIPPED the 64-bit tarvik.exe with the 32-bit mfe.dll: $cannot_run"
        return 0
    fi
    folder=$(mktemp -d)
    cp build-windows-x86_64/{tarvik.exe,tarvik_library_host.exe} build-windows-i686/mfe.dll \
        "$folder"
    cp build-windows-i686/tarvik_library_host.exe "$folder/tarvik_library_host32.exe"
    out=$(cd "$folder" && MFE_EMULADOR_ESTADO="$folder/estado.json" \
        "$(wine_for x86_64)" tarvik.exe --dll mfe.dll ConsultarSAT) || true
    rm -rf "$folder"
    grep -q '|08000|' <<<"$out" || {
        echo "windows-cross: the 64-bit tarvik.exe with the 32-bit mfe.dll: $out" >&2
        return 1
    }
    echo "windows-cross: the 64-bit tarvik.exe called the 32-bit mfe.dll through its host"
}

# Passed, skipped and failed cases in the GoogleTest reports of a build.
counts() { # (build folder)
    python3 - "$1/test-reports" <<'PY'
import pathlib, sys, xml.etree.ElementTree as ET
passed = skipped = failed = 0
for report in pathlib.Path(sys.argv[1]).glob("*.xml"):
    for case in ET.parse(report).iter("testcase"):
        if case.find("failure") is not None:
            failed += 1
        elif case.get("result") == "skipped" or case.find("skipped") is not None:
            skipped += 1
        else:
            passed += 1
print(f"{passed} passed, {skipped} skipped, {failed} failed")
PY
}

# A file of a dependency's upstream source, as fetched into $cache/sources.
source_file() { # (package, version, path inside the source)
    local upstream=${2#*:} archive
    archive=$(ls "$cache/sources/$1_${upstream%-*}".orig.tar.* | grep -v '\.asc$')
    tar -xOf "$archive" --wildcards "*/$3"
}

# A titled section of the notices.
notice() { # (title)
    printf '\n\n%s\n%s\n\n' "$1" "$(printf '%*s' ${#1} '' | tr ' ' '=')"
}

# The notices of the libraries the window's folder ships: the filled-in head, then each licence.
notices() { # (version)
    sed -e "s/@VERSION@/$1/g" -e "s/@QT_VERSION@/${qt_version%%+*}/g" \
        -e "s/@QT_PACKAGE@/$qt_version/g" -e "s/@OPENSSL_PACKAGE@/$openssl_version/g" \
        -e "s/@LIBXML2_PACKAGE@/$libxml2_version/g" -e "s/@XMLSEC1_PACKAGE@/$xmlsec1_version/g" \
        -e "s/@SQLITE3_PACKAGE@/$sqlite3_version/g" -e "s/@LIBZIP_PACKAGE@/$libzip_version/g" \
        -e "s/@ZLIB_PACKAGE@/$zlib_version/g" \
        resources/windows/NOTICES.in
    notice "Qt: GNU Lesser General Public License, version 3"
    cat /usr/share/common-licenses/LGPL-3
    notice "Qt, and the GNU C++ and GCC runtime: GNU General Public License, version 3"
    cat /usr/share/common-licenses/GPL-3
    notice "OpenSSL: Apache License, version 2.0"
    cat /usr/share/common-licenses/Apache-2.0
    notice "libxml2"
    source_file libxml2 "$libxml2_version" Copyright
    notice "XML Security Library (xmlsec1)"
    source_file xmlsec1 "$xmlsec1_version" Copyright
    notice "SQLite"
    cat /usr/share/doc/libsqlite3-0/copyright
    notice "libzip"
    source_file libzip "$libzip_version" LICENSE
    notice "zlib"
    source_file zlib "$zlib_version" LICENSE
    notice "The GNU C++ and GCC runtime (with the GCC Runtime Library Exception)"
    cat /usr/share/doc/gcc-mingw-w64-base/copyright
    notice "winpthreads (mingw-w64)"
    cat /usr/share/doc/mingw-w64-common/copyright
    notice "nlohmann/json"
    cat /usr/share/doc/nlohmann-json3-dev/copyright
}

# "Delete" lines for every file of a folder, then "RMDir" lines for its folders, deepest first,
# for the uninstaller.
uninstall_list() { # (folder)
    (cd "$1" && find . -type f | sort | sed -e 's|^\./||' -e 's|/|\\|g' \
        -e 's|.*|    Delete "$INSTDIR\\&"|' &&
        find . -mindepth 1 -type d | sort -r | sed -e 's|^\./||' -e 's|/|\\|g' \
            -e 's|.*|    RMDir "$INSTDIR\\&"|')
}

# The window's folder as a user gets it (dist/TarvikPlus), with the notices of the libraries it
# ships, then its portable zip and its installer beside it. The 32-bit library host, which lets
# the 64-bit window call 32-bit DLLs, comes from the i686 build.
window_packages() { # (build folder)
    local dist version size
    dist=$(realpath "$1")/dist
    local folder=$dist/TarvikPlus
    version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$1/CMakeCache.txt")
    rm -rf "$dist"
    mkdir -p "$folder/platforms" "$folder/styles" "$folder/translations" &&
        (cd "$1" && cp tarvikplus.exe tarvik.exe tarvik_library_host.exe mfe.dll \
            integrador_standin.exe welcome.png Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll \
            libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll "$folder" &&
            cp -r HELP "$folder" && cp platforms/qwindows.dll "$folder/platforms" &&
            cp styles/qwindowsvistastyle.dll "$folder/styles" &&
            cp translations/qtbase_pt_BR.qm "$folder/translations") &&
        cp build-windows-i686/tarvik_library_host.exe "$folder/tarvik_library_host32.exe" &&
        # Symbols and debugging sections are no use to a user: the runtime DLL alone loses 20 MB.
        find "$folder" -name '*.dll' -o -name '*.exe' ! -name tarvik_library_host32.exe |
        xargs x86_64-w64-mingw32-strip --strip-unneeded &&
        i686-w64-mingw32-strip --strip-unneeded "$folder/tarvik_library_host32.exe" &&
        notices "$version" >"$folder/NOTICES.txt" &&
        (cd "$dist" && zip -qr "TarvikPlus-$version-x64-portable.zip" TarvikPlus) &&
        uninstall_list "$folder" >"$dist/files.nsh" &&
        makensis -V2 -DVERSION="$version" -DSOURCE="$folder" -DFILES="$dist/files.nsh" \
            -DOUTFILE="$dist/TarvikPlus-$version-x64-setup.exe" resources/windows/installer.nsi ||
        return 1
    for size in "$folder" "$dist"/*.zip "$dist"/*.exe; do
        echo "windows-cross: $(du -sh "$size" | cut -f1) ${size#"$repo"/}"
    done
}

# The installer under wine, in a prefix of its own: it installs silently into Program Files;
# the installed window starts on a virtual screen; the window's code on that installation
# answers ConsultarSAT with 08000 on the emulator (installed_window_check); the uninstaller
# removes the program silently and keeps the user's data.
installer_smoke() { # (build folder)
    local prefix wine setup
    wine=$(wine_for x86_64)
    setup=$(ls "$1"/dist/*-setup.exe)
    prefix=$(mktemp -d)
    (
        export WINEPREFIX=$prefix
        installed="$prefix/drive_c/Program Files/TarvikPlus"
        "$wine" "$setup" /S && wineserver -w
        [ -f "$installed/tarvikplus.exe" ] || { echo "the installer installed nothing" >&2; exit 1; }
        xvfb-run -a sh -c '"$1" "$2" & for _ in $(seq 60); do
                xwininfo -root -tree | grep -q "Tarvik VEXOR" && exit 0; sleep 1; done; exit 1' \
            - "$wine" "$installed/tarvikplus.exe" ||
            { echo "the installed window did not show" >&2; exit 1; }
        wineserver -k || true
        (cd "$1" && rm -f installed.txt && WINEQT_QPA_PLATFORM=offscreen \
            WINEQT_QPA_FONTDIR=Z:/usr/share/wine/fonts "$wine" installed_window_check.exe \
            'C:\Program Files\TarvikPlus' -o installed.txt,txt) ||
            { cat "$1/installed.txt" >&2; exit 1; }
        "$wine" "$installed/uninstall.exe" /S && wineserver -w
        [ ! -e "$installed" ] || { echo "left installed: $(ls "$installed")" >&2; exit 1; }
        find "$prefix/drive_c/users" -path '*/Roaming/TarvikPlus/tarvikplus.ini' | grep -q . ||
            { echo "the uninstaller removed the user's settings" >&2; exit 1; }
    ) || { rm -rf "$prefix"; echo "windows-cross: installer smoke test failed" >&2; return 1; }
    rm -rf "$prefix"
    echo "windows-cross: installer smoke test passed (install, window, ConsultarSAT, uninstall)"
}

# Passed, failed and skipped cases of each QtTest report of a build, one program a line, with
# every skip's reason.
qt_counts() { # (build folder)
    local report
    for report in "$1"/test-reports/*.txt; do
        [ -e "$report" ] || continue
        echo "  $(basename "$report" .txt): $(sed -n 's/^Totals: \([0-9]*\) passed, \([0-9]*\) failed, \([0-9]*\) skipped.*/\1 passed, \2 failed, \3 skipped/p' "$report")"
        grep -A1 '^SKIP' "$report" | sed 's/^/    /' || true
    done
}

# The x86_64 build runs every test, the window's included (with Qt); the i686 one the checks of
# the 32-bit DLL: its export table, its life cycle called stdcall, and the smoke test. Each step
# says how long it took.
build_and_test() { # (arch, triple, deps, [qt])
    local build=build-windows-$1 targets=() tests=() cannot_run= gui=OFF start
    if [ "$1" = i686 ]; then
        targets=(--target tarvik tarvik_library_host mfe_emulator integrador_standin
            emulator_library_tests)
        tests=(-R '^(mfe_dll_exports|emulator_library_tests)$')
        if cannot_run=$(why_32bit_cannot_run); then
            tests=(-R '^mfe_dll_exports$')
        fi
    fi
    [ -z "${4:-}" ] || gui=ON
    # A build made with other dependencies starts afresh: its cache points at them.
    { grep -qx "TARVIK_WINDOWS_DEPS:[A-Z]*=$3" "$build/CMakeCache.txt" &&
        grep -qx "TARVIK_WINDOWS_QT:[A-Z]*=${4:-}" "$build/CMakeCache.txt"; } 2>/dev/null ||
        rm -f "$build/CMakeCache.txt"
    # (Called in an || list, where bash's -e does not stop at a failed command.)
    start=$SECONDS
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVIK_BUILD_GUI=$gui \
        -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/toolchains/$2.cmake" -DTARVIK_WINDOWS_DEPS="$3" \
        -DTARVIK_WINDOWS_QT="${4:-}" >/dev/null || return 1
    cmake --build "$build" -j "$jobs" "${targets[@]}" || return 1
    echo "windows-cross: $1 build in $((SECONDS - start)) s"
    # (QtTest writes its report there but does not make the folder.)
    rm -rf "$build/test-reports" && mkdir "$build/test-reports"
    local status=0
    start=$SECONDS
    # A test program that fails is run once more, for a cause of wine's own: a Windows build
    # cannot watch a folder's reads as the Linux one does (inotify), so its Integrador exchange
    # peers act after fixed pauses, which a loaded machine may outrun. A failure that comes back
    # still fails the pass, and the first one stays in ctest.log.
    ctest --test-dir "$build" --output-on-failure --repeat until-pass:2 "${tests[@]}" |
        tee "$build/ctest.log" ||
        status=1
    echo "windows-cross: $1 under wine in $((SECONDS - start)) s: $(counts "$build")"
    if [ "$gui" = ON ]; then
        echo "windows-cross: the window's tests (QtTest) under wine:"
        qt_counts "$build"
    fi
    if [ -n "$cannot_run" ]; then
        echo "windows-cross: SKIPPED the $1 tests under wine and the $1 smoke test: $cannot_run"
        return $status
    fi
    smoke "$build" "$1" || status=1
    return $status
}

# The window's folder, zip and installer, then the installer under wine (after both builds: the
# folder takes the i686 library host).
packages_and_installer() {
    local build=build-windows-x86_64 start=$SECONDS status=0
    window_packages "$build" || return 1
    echo "windows-cross: window folder, zip and installer in $((SECONDS - start)) s"
    start=$SECONDS
    installer_smoke "$build" || status=1
    echo "windows-cross: installer smoke test in $((SECONDS - start)) s"
    return $status
}

setup
libxml2_version=$(source_version libxml2)
openssl_version=$(source_version openssl)
xmlsec1_version=$(source_version xmlsec1)
googletest_version=$(source_version googletest)
zlib_version=$(source_version zlib)
sqlite3_version=$(source_version sqlite3)
libzip_version=$(source_version libzip)
versions="libxml2_${libxml2_version}-openssl_${openssl_version}-xmlsec1_${xmlsec1_version}"
versions+="-googletest_${googletest_version}"
versions+="-zlib_${zlib_version}-sqlite3_${sqlite3_version}-libzip_${libzip_version}"
# Raised whenever a build recipe above changes, so no cache of an older recipe is used.
versions+="-recipe2"
versions=${versions//[:~+]/_}
# Qt has a folder of its own: a half-hour build that a change to the others must not repeat.
qt_version=$(host_qt_version)
qt_versions="qt6-base_${qt_version}-recipe1"
qt_versions=${qt_versions//[:~+]/_}

status=0
for arch in "${arches[@]}"; do
    triple=$arch-w64-mingw32
    [ -f "cmake/toolchains/$triple.cmake" ] || { echo "unknown architecture: $arch" >&2; exit 2; }
    deps=$cache/$arch-$versions
    dependencies "$triple" "$deps"
    [ "$arch" = x86_64 ] && dependency qt "$triple" "$cache/$arch-$qt_versions"
    [ -z "$only_dependencies" ] || continue
    qt=
    [ "$arch" != x86_64 ] || qt=$cache/$arch-$qt_versions
    build_and_test "$arch" "$triple" "$deps" "$qt" || status=1
done
[ -z "$only_dependencies" ] || exit 0
if [[ " ${arches[*]} " == *" x86_64 "* && " ${arches[*]} " == *" i686 "* ]]; then
    smoke_32bit_library || status=1
    packages_and_installer || status=1
else
    echo "windows-cross: SKIPPED the window's folder, zip and installer: they need both builds"
fi
exit $status
