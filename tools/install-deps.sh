#!/bin/sh
# Installs what building, testing and running need on Debian 12. Quick when all is present.
# With "windows": what cross-building for Windows and running its tests under Wine need, and
# the zh_CN.UTF-8 and en_US.UTF-8 locales (Wine then has the ANSI code page 936, or 1252).
set -eu

# clang and libclang-rt-14-dev (libFuzzer, clang's sanitizers) build the fuzz targets.
# Qt's TextToSpeech CMake package needs qt6-declarative-dev too; flite speaks without a daemon.
# xvfb and libxtst-dev: the click benchmark runs the program in an X server and clicks it.
packages="cmake make g++ pkg-config qt6-base-dev qt6-translations-l10n libgl-dev \
qt6-speech-dev qt6-declarative-dev qt6-speech-flite-plugin \
libbenchmark-dev xvfb libxtst-dev fonts-noto-cjk fonts-liberation2 xdg-utils dpkg-dev file \
clang libclang-rt-14-dev"
if [ "${1:-}" = windows ]; then
    packages="cmake make qt6-base-dev qt6-base-dev-tools g++-mingw-w64-x86-64-posix ninja-build \
wine wine64 locales python3 xz-utils"
elif [ "${1:-}" = windows-package ]; then
    # NSIS makes the installer; Qt's own Chinese texts go into both downloads; the zip is
    # tried on a virtual display.
    packages="nsis qt6-translations-l10n xvfb xdotool"
fi

missing=""
for package in $packages; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done
locales_missing=""
for locale in zh_CN en_US; do
    if [ "${1:-}" = windows ] && ! locale -a 2>/dev/null | grep -qi "^$locale\.utf-\?8$"; then
        locales_missing="$locales_missing $locale"
    fi
done
[ -z "$missing" ] && [ -z "$locales_missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    sudo=""
elif command -v sudo >/dev/null 2>&1; then
    sudo="sudo"
else
    echo "install-deps: need root (or sudo) to install:$missing" >&2
    exit 1
fi

if [ -n "$missing" ]; then
    echo "install-deps: installing$missing"
    $sudo apt-get update -qq
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
fi
if [ -n "$locales_missing" ]; then
    echo "install-deps: generating the UTF-8 locales of$locales_missing"
    for locale in $locales_missing; do
        $sudo sed -i "s/^# *\($locale.UTF-8 UTF-8\)/\1/" /etc/locale.gen
    done
    $sudo locale-gen >/dev/null
fi
