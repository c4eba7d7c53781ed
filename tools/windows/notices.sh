#!/usr/bin/env bash
# The licence texts and notices the Windows package carries in its licenses\ folder, made from
# the files the package really holds: notices.map says what each file is made of, and a file
# with no line there stops the build, so nothing ships without its notice.
# Usage: notices.sh STAGEDIR QTBASE_SOURCE   writes STAGEDIR/licenses/
#        notices.sh --check FOLDER           fails if a file in FOLDER has no notice there
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$here/../.." && pwd)
fail() { echo "notices: $*" >&2; exit 1; }

# The files that need a notice: all but the read-me and the notices themselves.
shipped() {
    (cd "$1" && find . -type f ! -path './licenses/*' ! -name README.txt | sed 's|^\./||' \
        | LC_ALL=C sort)
}
winname() { echo "${1//\//\\}"; }

# licenses\README.txt lists each file on a line of its own, its notices indented below it.
check() {
    local folder=$1 index=$1/licenses/README.txt file notices notice
    [ -f "$index" ] || fail "no licenses\\README.txt in $folder"
    while IFS= read -r file; do
        notices=$(tr -d '\r' <"$index" | awk -v f="$(winname "$file")" '
            $0 == f { on = 1; next }
            on && /^    [^ ]/ { print $1; next }
            { on = 0 }')
        [ -n "$notices" ] || fail "$file ships without its notice (licenses\\README.txt)"
        for notice in $notices; do
            [ -s "$folder/licenses/$notice" ] || fail "$file: its notice $notice is not there"
        done
    done < <(shipped "$folder")
}
if [ "${1:-}" = "--check" ]; then
    check "$2"
    exit 0
fi

stage=$(realpath "$1")
qtsrc=$(realpath "$2")
out=$stage/licenses
rm -rf "$out"
mkdir -p "$out"
version() { dpkg-query -W -f='${source:Package} ${source:Version}\n' "$1"; }

# Copies what a token names into the folder and prints the names of the files it made.
notice() {
    local token=$1 source
    case $token in
    project)
        cp "$ROOT/resources/debian/copyright" "$out/kursove.txt"
        echo kursove.txt ;;
    debian:*)
        source=$(dpkg-query -W -f='${source:Package}' "${token#debian:}")
        cp "/usr/share/doc/${token#debian:}/copyright" "$out/$source.txt"
        echo "$source.txt" ;;
    license:*)
        cp "/usr/share/common-licenses/${token#license:}" "$out/${token#license:}.txt"
        echo "${token#license:}.txt" ;;
    qt:*)
        # Each attribution: what it is, its copyright and licence, then its licence file.
        /usr/bin/python3 - "$qtsrc/${token#qt:}" "$out" <<'PY'
import json, os, sys
folder, out = sys.argv[1], sys.argv[2]
with open(os.path.join(folder, "qt_attribution.json"), encoding="utf-8") as f:
    entries = json.loads(f.read(), strict=False)
for e in entries if isinstance(entries, list) else [entries]:
    name = "qt-" + e["Id"] + ".txt"
    files = e.get("LicenseFiles") or ([e["LicenseFile"]] if e.get("LicenseFile") else [])
    with open(os.path.join(out, name), "w", encoding="utf-8", newline="\r\n") as f:
        f.write("%s %s\n%s\n\n" % (e["Name"], e.get("Version", ""), e.get("QtUsage", "")))
        f.write("Copyright: %s\nLicense: %s\n" % (e.get("Copyright", ""),
                                                  e.get("License", "public domain")))
        for lf in files:
            with open(os.path.join(folder, lf), encoding="utf-8", errors="replace") as t:
                f.write("\n" + t.read())
    print(name)
PY
        ;;
    *) fail "notices.map: unknown notice $token" ;;
    esac
}

list=""
while IFS= read -r file; do
    entry=$(awk -v f="$file" '$1 == f' "$here/notices.map")
    [ -n "$entry" ] || fail "$file has no line in tools/windows/notices.map: its notices first"
    names=""
    for token in ${entry#* }; do
        made=$(notice "$token")
        names+="$made"$'\n'
    done
    list+="$(winname "$file")"$'\n'"$(sed 's/^/    /' <<<"${names%$'\n'}")"$'\n'
done < <(shipped "$stage")
cp "$here/build-qt.sh" "$out/qt-build.sh.txt"
cp "$here/mingw64.cmake" "$out/qt-mingw64.cmake.txt"

read -r _ qtversion < <(version libqt6core6)
read -r gccsource gccversion < <(version gcc-mingw-w64-x86-64-posix-runtime)
read -r mingwsource mingwversion < <(version mingw-w64-x86-64-dev)
{
    printf '\xEF\xBB\xBF'
    sed "s/@QT@/$qtversion/g; s/@GCC@/$gccsource $gccversion/g;
         s/@MINGW@/$mingwsource $mingwversion/g" <<'TEXT'
Лицензи и бележки
=================

Тук са текстовете, които лицензите на включените в Курсове библиотеки изискват
да се разпространяват с тях. Под всеки файл от папката на програмата са
изброени файловете в тази папка, които се отнасят до него.

Qt (Qt6*.dll и папките platforms, styles и tls)
-----------------------------------------------
Qt се разпространява под GNU Lesser General Public License, версия 3
(LGPL-3.txt, заедно с GPL-3.txt, към който тя препраща); авторските права и
лицензите на кода, който Qt съдържа (FreeType, HarfBuzz, libpng, PCRE2, zlib,
md4c и др.), са в qt6-base.txt и qt-*.txt.

Изходният код: тези библиотеки са изградени без промени от изходния пакет на
Debian qt6-base, версия @QT@ (Debian 12): с "apt-get source qt6-base=@QT@"
или от https://snapshot.debian.org/package/qt6-base/ . Как точно са
конфигурирани и изградени за Windows (MinGW-w64, x86_64): qt-build.sh.txt и
qt-mingw64.cmake.txt. При поискване проектът „Курсове“ предоставя същия
изходен код: maintainers@kursove.example.org.

Замяна: kursove.exe зарежда Qt от собствената си папка. Можете да замените
Qt6*.dll и файловете в platforms, styles и tls със свои, изградени от
изменен или друг изходен код на Qt 6.4 със същия компилатор (MinGW-w64,
x86_64, нишки posix), и програмата ще работи с тях.

Средата на MinGW (libgcc_s_seh-1.dll, libstdc++-6.dll, libwinpthread-1.dll)
---------------------------------------------------------------------------
libgcc_s_seh-1.dll и libstdc++-6.dll са от GCC, под GPL-3 с изключението за
средата на GCC (GCC Runtime Library Exception, в gcc-mingw-w64.txt);
изходният им код е в изходния пакет на Debian @GCC@.
libwinpthread-1.dll (winpthreads) е под лиценза MIT, в mingw-w64.txt
(изходен пакет на Debian @MINGW@). kursove.com съдържа същата среда,
свързана статично.

Файловете и техните бележки
---------------------------
TEXT
    printf '%s' "$list"
} | sed 's/$/\r/' >"$out/README.txt"
check "$stage"
