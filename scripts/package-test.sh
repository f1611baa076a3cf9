#!/usr/bin/env bash
# Builds the Debian package from a build folder, installs it into a staging root and tries the
# installed program there: `tarvik` answers ConsultarSAT through the staged emulator, the
# Integrador stand-in answers from its own folder, and the window starts from the staged prefix.
# HOME points at a temporary folder; the INI file and the emulator's state must appear under it,
# and nothing may be written inside the staged prefix (CI runs this as root, who could).
#
#   bash scripts/package-test.sh [BUILD_FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
work=$(mktemp -d)
window=
cleanup() {
    [ -n "$window" ] && kill "$window" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "package test: $*" >&2
    exit 1
}

cpack --config "$build/CPackConfig.cmake" -B "$work/package" >/dev/null
deb=$work/package/tarvikplus_$(grep -oP 'CPACK_PACKAGE_VERSION "\K[^"]+' "$build/CPackConfig.cmake")_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no package $(basename "$deb") in: $(ls "$work/package")"
depends=$(dpkg-deb -f "$deb" Depends)
echo "$(basename "$deb"): Depends: $depends"
for needed in libqt6widgets6 libxml2 libxmlsec1-openssl libssl3 qt6-qpa-plugins qt6-translations-l10n libsqlite3-0 libzip4; do
    grep -q "$needed" <<<"$depends" || fail "$needed missing from Depends"
done

stage=$work/root
dpkg-deb -x "$deb" "$stage"
prefix=$stage/usr
for file in bin/tarvikplus bin/tarvik lib/tarvikplus/libmfe.so lib/tarvikplus/integrador_standin \
    lib/tarvikplus/tarvik_library_host \
    share/tarvikplus/HELP/ConsultarSAT.HLP share/tarvikplus/welcome.png \
    share/applications/tarvikplus.desktop share/icons/hicolor/64x64/apps/tarvikplus.png \
    share/doc/tarvikplus/copyright; do
    [ -e "$prefix/$file" ] || fail "$file not installed"
done
snapshot() { (cd "$prefix" && find . -printf '%p %s %T@\n' | sort); }
before=$(snapshot)

home=$work/home
mkdir -p "$home"
user=(env -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u MFE_EMULADOR_ESTADO -u TARVIK_INTEGRADOR_DIR
    HOME="$home" QT_QPA_PLATFORM=offscreen)
data=$home/.local/share/tarvikplus

answer=$("${user[@]}" "$prefix/bin/tarvik" --dll "$prefix/lib/tarvikplus/libmfe.so" ConsultarSAT)
grep -q '|08000|SAT em Operação||$' <<<"$answer" || fail "ConsultarSAT answered: $answer"
[ -f "$data/mfe_emulador/estado.json" ] || fail "no emulator state under HOME"

"${user[@]}" "$prefix/lib/tarvikplus/integrador_standin" --once --timeout 60 >/dev/null &
standin=$!
for _ in $(seq 100); do [ -d "$data/Integrador/Input" ] && break; sleep 0.1; done
answer=$("${user[@]}" "$prefix/bin/tarvik" --integrador "$data/Integrador" ConsultarSAT)
wait "$standin" || fail "the stand-in failed"
grep -q '|08000|SAT em Operação||$' <<<"$answer" || fail "through the stand-in: $answer"

# The window restores the access mode as a Windows program may have left it (quoted) and writes
# it back as it writes every selection.
ini=$home/.config/tarvikplus/tarvikplus.ini
mkdir -p "$(dirname "$ini")"
printf '[DEFAULT]\r\nACESSO="DLL"\r\n' >"$ini"
"${user[@]}" "$prefix/bin/tarvikplus" &
window=$!
for _ in $(seq 300); do grep -q '^ACESSO=DLL' "$ini" && break; sleep 0.1; done
grep -q '^ACESSO=DLL' "$ini" || fail "the window did not write its INI file under HOME"
kill -0 "$window" 2>/dev/null || fail "the window did not stay up"
kill "$window"
wait "$window" 2>/dev/null || true
window=

[ "$before" == "$(snapshot)" ] || fail "files written in the staged prefix: $(diff <(echo "$before") <(snapshot))"
echo "package test: the installed program runs from the staging root and writes only under HOME"
