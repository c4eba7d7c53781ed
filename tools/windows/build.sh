#!/usr/bin/env bash
# ./dev windows: the Windows program, cross-built and tested on this Debian machine.
#  1. installs the MinGW-w64 cross compilers, Wine and the build tools from Debian;
#  2. builds Qt for Windows from Debian's qt6-base source, once (build-qt.sh, cached);
#  3. cross-builds kursove.exe, the sample server and the test programs into build-windows/;
#  4. runs the tests under Wine, offscreen, against sample servers on 127.0.0.1;
#  5. packs kursove-<version>-windows-x64.zip and starts it, unzipped, in a fresh Wine prefix
#     with the windows platform plugin, through the sample server as its proxy;
#  6. builds kursove-<version>-windows-x64.msi from the zip's files (msi.sh, with wixl) and
#     installs, starts from the Start menu, upgrades and uninstalls it in a fresh Wine prefix.
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
PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev dpkg-dev g++-mingw-w64-x86-64-posix wine64
          zip unzip wixl msitools xvfb xauth openbox xdotool xclip imagemagick fonts-dejavu-core
          qt6-translations-l10n python3-olefile)
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
    -DCMAKE_CROSSCOMPILING_EMULATOR="$WINE" -DKURSOVE_TEST_DRIVE=Z: -DKURSOVE_BENCH=ON >/dev/null
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

stage "TLS sample servers for the HTTPS tests (Linux)"
# Schannel under Wine can serve no certificate of its own, nor trust a CA added to a process's
# TLS configuration. So the HTTPS tests under Wine fetch from the Linux sample server, one per
# test certificate, and the test CA is trusted in the tests' own Wine prefix, never on this
# machine.
HOSTBUILD=$BUILD/host
cmake -S "$ROOT" -B "$HOSTBUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON >/dev/null
cmake --build "$HOSTBUILD" --target kursove-sampleserver
HOSTSERVER=$HOSTBUILD/tools/sampleserver/kursove-sampleserver
TLS=$ROOT/tests/tls
servers=()
trap 'kill "${servers[@]}" 2>/dev/null || true' EXIT
for cert in localhost untrusted otherhost; do
    "$HOSTSERVER" --page "$ROOT/resources/rates-sample.html" --fault redirect-tls \
        --tls-cert "$TLS/$cert.crt" --tls-key "$TLS/$cert.key" --seconds 1800 \
        >"$BUILD/https-$cert.log" 2>&1 &
    servers+=($!)
    export "KURSOVE_HTTPS_${cert^^}=$(sampleserver_port "$BUILD/https-$cert.log")"
done
"$WINE" "$BUILD/kursove-trustca.exe" "$(winpath "$TLS/ca.crt")"

stage "tests under Wine"
# One Wine server for the whole run, its services started before the first test (withwine.sh).
"$WINESERVER" -k 2>/dev/null || true
"$WINESERVER" -w
export WINE WINESERVER
xvfb-run -a "$ROOT/tools/windows/withwine.sh" \
    ctest --test-dir "$BUILD" --output-on-failure -j2 --timeout 300 |
    tee "$BUILD/wine-tests.log" || tests_status=$?
# Each test program's time, slowest first, so that a slow one stands out.
echo "time per test program under Wine:"
sed -n 's/^ *[0-9]*\/[0-9]* Test *#[0-9]*: \([^ ]*\) .* \([0-9.]*\) sec$/\2 \1/p' \
    "$BUILD/wine-tests.log" | sort -rn | awk '{ printf "  %-22s %7.2f s\n", $2, $1 }'
[ "${tests_status:-0}" -eq 0 ] || exit "$tests_status"

stage "start-up under Wine, against the plain window"
xvfb-run -a "$ROOT/tools/windows/withwine.sh" "$ROOT/tools/windows/startup.sh" "$BUILD"
kill "${servers[@]}" 2>/dev/null || true

stage "zip"
version=$(sed -n 's/^project(kursove VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt")
name=kursove-$version-windows-x64
stagedir=$BUILD/$name
rm -rf "$stagedir" "$BUILD/$name.zip"
# What the zip holds, each file with why it is there. Each was checked by starting the unzipped
# program through the HTTPS sample server with that one file removed: without a DLL or the
# platform plugin no window opens; without the style, the TLS backend or the translation it
# starts but looks foreign, fetches nothing over HTTPS, or shows Qt's own texts in English.
zipfiles=(
    "$BUILD/kursove.exe:."                             # the program
    "$BUILD/kursove.com:."                             # what a command prompt runs and waits for
    "$QT/bin/Qt6Core.dll:." "$QT/bin/Qt6Gui.dll:."     # Qt, which it links
    "$QT/bin/Qt6Widgets.dll:." "$QT/bin/Qt6Network.dll:."
    "$MINGW_GCC/libgcc_s_seh-1.dll:."                  # the MinGW runtime that Qt and the
    "$MINGW_GCC/libstdc++-6.dll:."                     # program link
    "$MINGW_LIB/libwinpthread-1.dll:."
    "$QT/plugins/platforms/qwindows.dll:platforms"     # Qt's window system on Windows
    "$QT/plugins/styles/qwindowsvistastyle.dll:styles" # the native look (else Fusion's)
    "$QT/plugins/tls/qschannelbackend.dll:tls"         # HTTPS with the system's TLS and trust
    "/usr/share/qt6/translations/qtbase_bg.qm:translations" # Qt's own texts in Bulgarian
)
for entry in "${zipfiles[@]}"; do
    mkdir -p "$stagedir/${entry##*:}"
    cp "${entry%:*}" "$stagedir/${entry##*:}/"
done
# ...and README.txt, how to use it, in Bulgarian: UTF-8 with a byte order mark and CR LF, so
# Notepad shows the Cyrillic on any Windows.
{ printf '\xEF\xBB\xBF'; sed "s/@VERSION@/$version/; s/\$/\r/" "$ROOT/app/windows/README.txt.in"; } \
    >"$stagedir/README.txt"
# What a person sees of the exe must be there: the console answers to --help (a GUI program
# that attaches to the command prompt's console and writes the characters themselves), what was
# copied is rendered into the clipboard before the program ends (OleFlushClipboard: Wine 8
# drops the clipboard of a program that has ended, flushed or not, so the trial cannot see
# it), and the Bulgarian version information.
imports=$(x86_64-w64-mingw32-objdump -p "$BUILD/kursove.exe")
for needed in AttachConsole GetConsoleMode WriteConsoleW OleFlushClipboard; do
    grep -q "\b$needed\b" <<<"$imports" || { echo "kursove.exe does not import $needed" >&2; exit 1; }
done
grep -qaF "$(printf 'Курсове' | iconv -f UTF-8 -t UTF-16LE)" "$BUILD/kursove.exe" \
    || { echo "kursove.exe has no Bulgarian version information" >&2; exit 1; }
x86_64-w64-mingw32-strip "$stagedir"/*.exe "$stagedir"/*.com "$stagedir"/*.dll "$stagedir"/*/*.dll
# The notices the licences ask for, in licenses\, from the files staged: a file without one
# stops the build here. The check must refuse a DLL it has no notice for.
"$ROOT/tools/windows/notices.sh" "$stagedir" "$CACHE/src-$(dpkg-query -W -f='${Version}' qt6-base-dev)/qtbase"
cp -r "$stagedir" "$BUILD/notices-check"
cp "$stagedir/Qt6Core.dll" "$BUILD/notices-check/Qt6Extra.dll"
if "$ROOT/tools/windows/notices.sh" --check "$BUILD/notices-check" 2>/dev/null; then
    echo "the notices check passed a DLL with no notice" >&2
    exit 1
fi
rm -rf "$BUILD/notices-check"
(cd "$BUILD" && zip -qr "$name.zip" "$name")

stage "the zip in a fresh Wine prefix, through the sample server, to HTTPS"
"$ROOT/tools/windows/trial.sh" "$BUILD/$name.zip" "$HOSTSERVER" "$BUILD/kursove-trustca.exe" \
    "$BUILD/screenshots"
stage "installer (wixl), from the zip's files"
"$ROOT/tools/windows/msi.sh" "$stagedir" "$version" "$BUILD/app/kursove.ico" "$BUILD/$name.msi"
# For the trial alone: the same version built again (a new product code) and a later version.
IFS=. read -r major minor patch <<<"$version"
trialmsi=$BUILD/msi-trial
rm -rf "$trialmsi"
"$ROOT/tools/windows/msi.sh" "$stagedir" "$version" "$BUILD/app/kursove.ico" "$trialmsi/rebuilt.msi"
"$ROOT/tools/windows/msi.sh" "$stagedir" "$major.$minor.$((patch + 1))" "$BUILD/app/kursove.ico" \
    "$trialmsi/newer.msi"

stage "the installer in a fresh Wine prefix: menu, upgrade, uninstall"
"$ROOT/tools/windows/msitrial.sh" "$BUILD/$name.msi" "$trialmsi/rebuilt.msi" "$trialmsi/newer.msi" \
    "$BUILD/$name.zip" "$HOSTSERVER" "$BUILD/kursove-trustca.exe" "$BUILD/screenshots"
stage ""
echo "Windows package: $BUILD/$name.zip"
echo "Windows installer: $BUILD/$name.msi ($(stat -c %s "$BUILD/$name.msi") bytes)"
