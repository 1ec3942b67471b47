#!/bin/sh
# Installs what building, testing and running need on Debian 12. Quick when all is present.
set -eu

# clang and libclang-rt-14-dev (libFuzzer, clang's sanitizers) build the fuzz targets.
# Qt's TextToSpeech CMake package needs qt6-declarative-dev too; flite speaks without a daemon.
packages="cmake make g++ pkg-config qt6-base-dev qt6-translations-l10n libgl-dev \
qt6-speech-dev qt6-declarative-dev qt6-speech-flite-plugin \
libbenchmark-dev fonts-noto-cjk fonts-liberation2 xdg-utils dpkg-dev file \
clang libclang-rt-14-dev"

missing=""
for package in $packages; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    sudo=""
elif command -v sudo >/dev/null 2>&1; then
    sudo="sudo"
else
    echo "install-deps: need root (or sudo) to install:$missing" >&2
    exit 1
fi

echo "install-deps: installing$missing"
$sudo apt-get update -qq
# shellcheck disable=SC2086
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
