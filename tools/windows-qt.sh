#!/bin/sh
# Prints the folder of Qt 6.4.2 for Windows (MinGW-w64) that the Windows build uses:
#   $MIRVO_WINDOWS_QT when set;
#   else the shared copy (../shared/toolchains/qt-6.4.2-mingw-w64.tar.xz, or the archive named
#   by $MIRVO_WINDOWS_QT_ARCHIVE), checked and unpacked once into build-windows-qt/;
#   else the same Qt built here from Debian's qt6-base 6.4.2 source (tools/build-windows-qt.sh,
#   about an hour on 2 cores).
# With --available it prints nothing and tells by its exit status whether a Qt is at hand
# without building one.
set -eu
cd "$(dirname "$0")/.."
sha256=47493a4ed082713a0089b8d281c1dad93de836ae0b65c1a71bc8a608ffe7b255
archive=${MIRVO_WINDOWS_QT_ARCHIVE:-../shared/toolchains/qt-6.4.2-mingw-w64.tar.xz}
prefix=$PWD/build-windows-qt/qt-6.4.2-mingw-w64

if [ -n "${MIRVO_WINDOWS_QT:-}" ]; then
    [ "${1:-}" = --available ] && exit 0
    echo "$MIRVO_WINDOWS_QT"
    exit 0
fi
if [ "${1:-}" = --available ]; then
    [ -f "$prefix/lib/cmake/Qt6/qt.toolchain.cmake" ] || [ -f "$archive" ]
    exit
fi
if [ ! -f "$prefix/lib/cmake/Qt6/qt.toolchain.cmake" ]; then
    if [ -f "$archive" ]; then
        echo "$sha256  $archive" | sha256sum --check --quiet >&2 \
            || { echo "windows-qt: $archive is not the expected Qt (sha256 differs)" >&2; exit 1; }
        mkdir -p "$(dirname "$prefix")"
        tar xf "$archive" -C "$(dirname "$prefix")"
    else
        echo "windows-qt: no Qt for Windows at hand; building it from source (about an hour)" >&2
        sh tools/build-windows-qt.sh "$prefix" >&2
    fi
fi
echo "$prefix"
