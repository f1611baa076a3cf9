#!/usr/bin/env bash
# Builds the command line (tarvik.exe), the module emulator (mfe.dll), the Integrador stand-in
# and the Qt-free tests for Windows with Debian's mingw-w64, and runs the tests under wine.
#
#   bash scripts/windows-cross.sh [x86_64] [i686]     (both when none is named)
#
# The dependencies (libxml2, OpenSSL, xmlsec1, GoogleTest, zlib, SQLite, libzip) are cross-built once from Debian's own
# source packages, as static libraries, into a folder keyed by their versions:
#   ${XDG_CACHE_HOME:-$HOME/.cache}/tarvikplus/windows-deps/<arch>-<versions>
# A rerun skips every one already there. Builds go to build-windows-<arch>/.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
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
        make perl tcl nlohmann-json3-dev) missing=() p update=
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
    local dep work start
    mkdir -p "$2"
    for dep in libxml2 openssl xmlsec1 googletest zlib sqlite3 libzip; do
        [ -e "$2/.built-$dep" ] && continue
        echo "windows-cross: building $dep for $1"
        start=$SECONDS
        work=$(mktemp -d)
        if ! (cd "$work" && "build_$dep" "$1" "$2") >"$work/log" 2>&1; then
            tail -n 40 "$work/log" >&2
            echo "windows-cross: building $dep for $1 failed (log: $work/log)" >&2
            exit 1
        fi
        rm -rf "$work"
        touch "$2/.built-$dep"
        echo "windows-cross: $dep for $1 in $((SECONDS - start)) s"
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

# The x86_64 build runs every Qt-free test; the i686 one the checks of the 32-bit DLL: its
# export table, its life cycle called stdcall, and the smoke test.
build_and_test() { # (arch, triple, deps)
    local build=build-windows-$1 targets=() tests=() cannot_run=
    if [ "$1" = i686 ]; then
        targets=(--target tarvik tarvik_library_host mfe_emulator integrador_standin
            emulator_library_tests)
        tests=(-R '^(mfe_dll_exports|emulator_library_tests)$')
        if cannot_run=$(why_32bit_cannot_run); then
            tests=(-R '^mfe_dll_exports$')
        fi
    fi
    # A build made with other dependencies starts afresh: its cache points at them.
    grep -qx "TARVIK_WINDOWS_DEPS:[A-Z]*=$3" "$build/CMakeCache.txt" 2>/dev/null ||
        rm -f "$build/CMakeCache.txt"
    # (Called in an || list, where bash's -e does not stop at a failed command.)
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVIK_BUILD_GUI=OFF \
        -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/toolchains/$2.cmake" -DTARVIK_WINDOWS_DEPS="$3" \
        >/dev/null || return 1
    cmake --build "$build" -j "$jobs" "${targets[@]}" || return 1
    rm -rf "$build/test-reports"
    local status=0
    # A test program that fails is run once more, for a cause of wine's own: a Windows build
    # cannot watch a folder's reads as the Linux one does (inotify), so its Integrador exchange
    # peers act after fixed pauses, which a loaded machine may outrun. A failure that comes back
    # still fails the pass, and the first one stays in ctest.log.
    ctest --test-dir "$build" --output-on-failure --repeat until-pass:2 "${tests[@]}" |
        tee "$build/ctest.log" ||
        status=1
    echo "windows-cross: $1 under wine: $(counts "$build")"
    if [ -n "$cannot_run" ]; then
        echo "windows-cross: SKIPPED the $1 tests under wine and the $1 smoke test: $cannot_run"
        return $status
    fi
    smoke "$build" "$1" || status=1
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

status=0
for arch in "${arches[@]}"; do
    triple=$arch-w64-mingw32
    [ -f "cmake/toolchains/$triple.cmake" ] || { echo "unknown architecture: $arch" >&2; exit 2; }
    deps=$cache/$arch-$versions
    dependencies "$triple" "$deps"
    build_and_test "$arch" "$triple" "$deps" || status=1
done
if [[ " ${arches[*]} " == *" x86_64 "* && " ${arches[*]} " == *" i686 "* ]]; then
    smoke_32bit_library || status=1
fi
exit $status
