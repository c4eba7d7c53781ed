#!/usr/bin/env bash
# Builds Qt for Windows (x86_64-w64-mingw32) from Debian's own qt6-base source, the same
# version as the Linux Qt, into a cache outside the work tree. Reused while that version stays.
# Prints the install prefix as its last line; with --cached it only tells whether it is built.
set -euo pipefail

CACHE=${KURSOVE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kursove}
version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
upstream=${version%%+*} # 6.4.2+dfsg-10 -> 6.4.2
tag=qt-$version-mingw64
PREFIX=$CACHE/$tag
# --cached: only tells, by its exit status, whether the build is there.
if [ "${1:-}" = "--cached" ]; then
    [ -f "$PREFIX/.complete" ]
    exit
fi
if [ -f "$PREFIX/.complete" ]; then
    echo "Qt for Windows $version: cached" >&2
    echo "$PREFIX"
    exit 0
fi

# A private source list and lists folder: the machine's apt configuration is left as it was.
APT=$CACHE/apt
mkdir -p "$APT/lists/partial" "$APT/parts"
source "$(dirname "$(readlink -f "$0")")/../lib.sh"
mirror=$(debian_mirror)
echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $mirror bookworm main" \
    >"$APT/sources.list"
aptopts=(-o "Dir::Etc::SourceList=$APT/sources.list" -o "Dir::Etc::SourceParts=$APT/parts"
         -o "Dir::State::Lists=$APT/lists" -o "Dir::Cache=$APT/cache" -o "APT::Sandbox::User=root")
mkdir -p "$APT/cache/archives/partial"

SRC=$CACHE/src-$version
if [ ! -d "$SRC/qtbase" ]; then
    echo "Fetching Debian's qt6-base $version source" >&2
    apt-get "${aptopts[@]}" update -qq >&2
    rm -rf "$SRC" && mkdir -p "$SRC"
    (cd "$SRC" && apt-get "${aptopts[@]}" source -qq --only-source "qt6-base=$version" >&2)
    mv "$SRC"/qt6-base-"$upstream"*/ "$SRC/qtbase"
fi

HOSTCMAKE=$(dirname "$(dpkg -L qt6-base-dev | grep '/cmake/Qt6HostInfo/Qt6HostInfoConfig.cmake$')")
HOSTCMAKE=$(dirname "$HOSTCMAKE")
BUILD=$CACHE/build-$tag
rm -rf "$BUILD" "$PREFIX"
mkdir -p "$BUILD"
echo "Configuring Qt $upstream for x86_64-w64-mingw32" >&2
cmake -S "$SRC/qtbase" -B "$BUILD" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$(dirname "$(readlink -f "$0")")/mingw64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="$HOSTCMAKE" \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DBUILD_SHARED_LIBS=ON \
    -DFEATURE_opengl=OFF -DFEATURE_dynamicgl=OFF -DFEATURE_tabletevent=OFF \
    -DFEATURE_dbus=OFF -DFEATURE_sql=OFF -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF \
    -DFEATURE_xml=OFF -DFEATURE_testlib=ON -DFEATURE_icu=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_freetype=OFF \
    -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
    -DFEATURE_sql_sqlite=OFF -DFEATURE_openssl=OFF -DFEATURE_vulkan=OFF \
    >"$BUILD/configure.log" 2>&1 || { tail -40 "$BUILD/configure.log" >&2; exit 1; }
echo "Building Qt (about 15 minutes on 2 cores)" >&2
cmake --build "$BUILD" --parallel >"$BUILD/build.log" 2>&1 \
    || { tail -40 "$BUILD/build.log" >&2; exit 1; }
cmake --install "$BUILD" >"$BUILD/install.log" 2>&1
touch "$PREFIX/.complete"
rm -rf "$BUILD"
echo "$PREFIX"
