#!/usr/bin/env bash
# Installs the Debian packages the program, its tests and its benchmarks need.
# Idempotent: apt-get skips what is already installed.
set -euo pipefail
PACKAGES=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev libgl-dev
    libqt6sql6-sqlite libqt6sql6-psql libqt6svg6-dev
    libsqlite3-dev libpq-dev
    libsodium-dev libzint-dev libxlsxwriter-dev libfreexl-dev libquazip1-qt6-dev
    postgresql postgresql-client
    fonts-noto-cjk
    poppler-utils unzip xvfb xauth
)
missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO="sudo"
    $SUDO apt-get update -q
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
