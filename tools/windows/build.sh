#!/usr/bin/env bash
# ./dev windows: the Windows program, cross-built and tested on this Debian machine.
#  1. installs the MinGW-w64 cross compilers, Wine and the build tools from Debian;
#  2. builds Qt for Windows from Debian's qt6-base source, once (build-qt.sh, cached);
#  3. cross-builds kursove.exe, the sample server and the test programs into build-windows/;
#  4. runs the tests under Wine, offscreen, against sample servers on 127.0.0.1;
#  5. packs kursove-<version>-windows-x64.zip and starts it, unzipped, in a fresh Wine prefix
#     with the windows platform plugin, through the sample server as its proxy.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${KURSOVE_WINBUILD:-$ROOT/build-windows}
CACHE=${KURSOVE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kursove}
export KURSOVE_CACHE=$CACHE
source "$ROOT/tools/lib.sh"
mkdir -p "$CACHE"

stage_start=$SECONDS
stage() {
    [ -n "${stage_name:-}" ] && printf '  %-44s %4d s\n' "$stage_name" $((SECONDS - stage_start))
    stage_name=$1
    stage_start=$SECONDS
    [ -n "$1" ] && echo "== $1"
    return 0
}

stage "packages"
PACKAGES=(cmake ninja-build pkg-config qt6-base-dev dpkg-dev g++-mingw-w64-x86-64-posix wine64
          zip unzip xvfb xauth openbox xdotool imagemagick fonts-dejavu-core qt6-translations-l10n)
install_packages "${PACKAGES[@]}"
WINE=$(dpkg -L wine64 | grep -m1 '/wine64$')
MINGW_GCC=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
MINGW_LIB=/usr/x86_64-w64-mingw32/lib

stage "Qt for Windows (cached after the first build)"
QT=$("$ROOT/tools/windows/build-qt.sh" | tail -n 1)
HOSTCMAKE=$(dirname "$(dirname "$(dpkg -L qt6-base-dev \
    | grep -m1 '/cmake/Qt6HostInfo/Qt6HostInfoConfig.cmake$')")")

stage "cross-build kursove.exe, sample server, tests"
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$QT/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$ROOT/tools/windows/mingw64.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="$HOSTCMAKE" \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$WINE" -DKURSOVE_TEST_DRIVE=Z: >/dev/null
cmake --build "$BUILD"
# Qt's Bulgarian texts beside the programs, where the program looks for them on Windows.
mkdir -p "$BUILD/translations"
cp /usr/share/qt6/translations/qtbase_bg.qm "$BUILD/translations/"

# Wine: no dialogs, no Mono or Gecko installers, and the DLLs found where they were built.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
winpath() { echo "Z:${1//\//\\}"; }
export WINEPATH="$(winpath "$QT/bin");$(winpath "$MINGW_GCC");$(winpath "$MINGW_LIB")"

# Wine needs a display even for offscreen programs: COM's hidden windows (the system's code
# page lookup uses COM) hang without one. Each Wine step runs on its own Xvfb.
WINESERVER=$(dirname "$WINE")/wineserver
stage "Wine prefix (made once)"
export WINEPREFIX=$CACHE/wine-tests
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    xvfb-run -a bash -c '"$1" wineboot --init; "$2" -w' _ "$WINE" "$WINESERVER" >/dev/null 2>&1 || true
fi

stage "tests under Wine"
"$WINESERVER" -k 2>/dev/null || true
xvfb-run -a bash -c 'ctest --test-dir "$1" --output-on-failure -j2 --timeout 300; s=$?
                     "$2" -k 2>/dev/null; exit $s' _ "$BUILD" "$WINESERVER"

stage "zip"
version=$(sed -n 's/^project(kursove VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt")
name=kursove-$version-windows-x64
stagedir=$BUILD/$name
rm -rf "$stagedir" "$BUILD/$name.zip"
mkdir -p "$stagedir/platforms" "$stagedir/styles"
cp "$BUILD/kursove.exe" "$stagedir/"
for dll in Qt6Core Qt6Gui Qt6Widgets Qt6Network; do cp "$QT/bin/$dll.dll" "$stagedir/"; done
cp "$QT/plugins/platforms/qwindows.dll" "$stagedir/platforms/"
cp "$QT/plugins/styles/qwindowsvistastyle.dll" "$stagedir/styles/"
# Qt's TLS backend for Windows (Schannel, the system's own TLS and certificate store): without
# it no HTTPS connection is even tried, and a site that moved to HTTPS only ever fails.
mkdir -p "$stagedir/tls"
cp "$QT/plugins/tls/qschannelbackend.dll" "$stagedir/tls/"
# Qt's own Bulgarian texts (a text box's menu), from Debian's translations: the same on both.
mkdir -p "$stagedir/translations"
cp /usr/share/qt6/translations/qtbase_bg.qm "$stagedir/translations/"
cp "$MINGW_GCC/libgcc_s_seh-1.dll" "$MINGW_GCC/libstdc++-6.dll" "$MINGW_LIB/libwinpthread-1.dll" \
    "$stagedir/"
sed -n '/^## Windows/,/^## [^W]/p' "$ROOT/README.md" | sed '$d' | sed 's/$/\r/' >"$stagedir/README.txt"
x86_64-w64-mingw32-strip "$stagedir"/*.exe "$stagedir"/*.dll "$stagedir"/*/*.dll
(cd "$BUILD" && zip -qr "$name.zip" "$name")

stage "the zip in a fresh Wine prefix, through the sample server"
"$ROOT/tools/windows/trial.sh" "$BUILD/$name.zip" "$BUILD/kursove-sampleserver.exe" \
    "$BUILD/screenshots"
stage ""
echo "Windows package: $BUILD/$name.zip"
