#!/usr/bin/env bash
# Installs every Debian package the project needs to build, run and test.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libxml2-dev libxml2-utils libssl-dev
    libxmlsec1-dev xmlsec1 nlohmann-json3-dev libsqlite3-dev libzip-dev unzip
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-qpa-plugins qt6-translations-l10n fonts-dejavu-core xvfb xauth
    libzint-dev libcairo2-dev poppler-utils zbar-tools
    dpkg-dev file clang-format ccache git
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update
# Through env: sudo drops a variable set before it.
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y --no-install-recommends "${missing[@]}"
