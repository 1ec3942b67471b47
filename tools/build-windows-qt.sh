#!/bin/sh
# Builds Qt 6.4.2 (qtbase) for Windows with Debian's MinGW-w64 from Debian's own qt6-base source,
# configured as the shared copy was: shared libraries, Schannel TLS, no ICU, OpenGL dynamic.
# About an hour on 2 cores; ninja shows its progress.
# usage: build-windows-qt.sh PREFIX   (as root, or with sudo for apt)
set -eu
[ $# -eq 1 ] || { echo "usage: $0 PREFIX" >&2; exit 2; }
prefix=$1
project=$(cd "$(dirname "$0")/.." && pwd)
work=$project/build-windows-qt/source
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo

# Debian's sources: a deb-src entry beside the binary one, same mirror.
if ! apt-get source --print-uris qt6-base=6.4.2+dfsg-10 >/dev/null 2>&1; then
    mirror=$(sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -n 1)
    mirror=${mirror:-http://deb.debian.org/debian}
    printf 'Types: deb-src\nURIs: %s\nSuites: bookworm\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
        "$mirror" | $sudo tee /etc/apt/sources.list.d/mirvo-src.sources >/dev/null
    $sudo apt-get update -qq
fi
mkdir -p "$work"
cd "$work"
[ -f qt6-base_6.4.2+dfsg.orig.tar.xz ] || apt-get source --download-only qt6-base=6.4.2+dfsg-10
[ -d qtbase-everywhere-src-6.4.2 ] || tar xf qt6-base_6.4.2+dfsg.orig.tar.xz
cmake -G Ninja -S qtbase-everywhere-src-6.4.2 -B build \
    -DCMAKE_TOOLCHAIN_FILE="$project/cmake/mingw-w64.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_opengl=ON -DINPUT_opengl=dynamic -DFEATURE_tabletevent=OFF \
    -DFEATURE_dbus=OFF -DFEATURE_sql=OFF -DFEATURE_printsupport=OFF -DFEATURE_icu=OFF \
    -DFEATURE_openssl=OFF -DFEATURE_concurrent=OFF -DFEATURE_vulkan=OFF -DFEATURE_pkg_config=OFF
ninja -C build
cmake --install build
find "$prefix" -name '*.dll' -exec x86_64-w64-mingw32-strip --strip-unneeded {} +
