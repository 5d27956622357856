#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Quorvel needs. Safe to run again:
# packages that are already there are skipped, and apt is not touched when nothing is missing.
set -euo pipefail

packages=(
    # Build
    build-essential cmake ninja-build pkg-config
    # Unicode's Character Database and test files, for the text fields' tables and their tests
    unicode-data
    # Windows
    qt6-base-dev qt6-base-dev-tools libgl-dev libxcb1-dev fonts-dejavu-core fonts-dejavu-extra
    # Qt's own translations, for the text fields' context menu in the system's language
    qt6-translations-l10n
    # Fonts for every script and for emoji, as a desktop has them: the fields' drawing tests need them
    fonts-noto-core fonts-noto-cjk fonts-noto-color-emoji
    # Tests, benchmarks, fuzzing
    googletest libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-dev
    # Tests against a real window server and clipboard
    xvfb xauth x11-utils xclip xdotool wmctrl openbox imagemagick
    # Wayland: Qt's plugin, and for the tests a headless compositor, a virtual keyboard, the clipboard
    # and jq to read the compositor's window tree
    qt6-wayland sway wtype wl-clipboard jq
    # Tests through the accessibility bus, as a screen reader reads the program
    dbus at-spi2-core python3-pyatspi gir1.2-atspi-2.0
    # Typing through a real input method: IBus with m17n's composing tables, which show a pre-edit
    ibus ibus-m17n m17n-db
    # Packaging checks
    dpkg-dev file desktop-file-utils appstream binutils-mingw-w64-x86-64 lintian
    # The Windows installer: wixl builds it, msiinfo reads its tables
    wixl msitools
    # The Windows program: the cross compiler, and Wine with its fonts to run it and its tests
    g++-mingw-w64-x86-64-posix wine64 fonts-wine unzip
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}"
