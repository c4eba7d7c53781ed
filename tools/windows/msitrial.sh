#!/usr/bin/env bash
# The Windows installer in a fresh Wine prefix of its own, used as a person would: installed
# through its dialogs (each saved as a screenshot), the program started by the last one and
# from its Start-menu shortcut on Xvfb (through the sample
# server as its proxy, redirected to HTTPS), then replaced by the same version built again and
# by a newer one, an older one refused, and uninstalled with the installed-programs list's own
# command. Checks where each file lands and that options.opt outlives the program.
# Usage: msitrial.sh MSI REBUILT_MSI NEWER_MSI ZIP SAMPLESERVER TRUSTCA_EXE SHOTS
#   REBUILT_MSI is MSI's version built again, NEWER_MSI a later version; both from the same
#   files as ZIP, whose files the installed folder must hold exactly.
set -euo pipefail
msi=$(realpath "$1")
rebuilt=$(realpath "$2")
newer=$(realpath "$3")
zip=$(realpath "$4")
server=$(realpath "$5")
trustca=$(realpath "$6")
shots=$(realpath -m "$7")
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
source "$ROOT/tools/lib.sh"
export KURSOVE_LIB=$ROOT/tools/lib.sh # for the sessions on Xvfb
WINE=$(dpkg -L wine64 | grep -m1 '/wine64$')
WINESERVER=$(dirname "$WINE")/wineserver
mkdir -p "$shots"
work=$(mktemp -d /tmp/kursove-msi-wine.XXXXXX)
export WINEPREFIX=$work/prefix
# Only the installed DLLs: no WINEPATH. No menu entries on this machine for the shortcut.
unset WINEPATH
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# The shortcut's name reaches Wine as UTF-8 whatever this shell's locale.
export LC_CTYPE=C.UTF-8
cleanup() {
    kill $(jobs -p) 2>/dev/null || true
    "$WINESERVER" -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "msitrial: $*" >&2; exit 1; }
winpath() { echo "Z:${1//\//\\}"; }

page=$ROOT/resources/rates-sample.html
tls=$ROOT/tests/tls
"$server" --page "$page" --fault redirect-tls --tls-host 127.0.0.1 --tls-cert "$tls/localhost.crt" \
    --tls-key "$tls/localhost.key" --seconds 600 >"$work/server.log" 2>&1 &
port=$(sampleserver_port "$work/server.log")

"$WINE" wineboot --init >/dev/null 2>&1 || true
"$WINE" "$trustca" "$(winpath "$tls/ca.crt")"
wine_settle # the new prefix made whole before its folders are asked for
# The person's folders, as Windows names them, and where they are here. Wine has once answered
# nothing here, in a prefix just made: then it is asked again.
folder() {
    local win path
    for _ in 1 2 3; do
        win=$("$WINE" cmd /c echo "%$1%" | tr -d '\r')
        path=$("$WINE" winepath -u "$win" 2>/dev/null | tr -d '\r')
        [ -n "$path" ] && { realpath -m "$path"; return 0; }
        wine_settle
    done
    echo "msitrial: Wine named no folder for %$1%" >&2
}
appdata=$(folder APPDATA)
programs=$(folder LOCALAPPDATA)/Programs/Kursove
optionsdir=$appdata/Kursove
shortcut="$appdata/Microsoft/Windows/Start Menu/Programs/Курсове.lnk"
[ -d "$appdata" ] || fail "no application-data folder in the prefix"

# Every MSI on Xvfb: Wine's installer opens hidden windows.
msiexec() {
    WINE=$WINE WINESERVER=$WINESERVER \
        xvfb-run -a bash -c '"$WINE" msiexec "$@"; s=$?; "$WINESERVER" -w; exit $s' _ "$@"
}
# The installed-programs list's entries for Kursove, as lines "name|version|publisher|product
# code" (Wine keeps the list in HKLM even for a per-person install; Windows may keep it in HKCU).
installed() {
    local hive
    for hive in HKLM HKCU; do
        rm -f "$work/uninstall.reg"
        "$WINE" reg export "$hive\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall" \
            "$(winpath "$work/uninstall.reg")" /y >/dev/null 2>&1 || continue
        iconv -f UTF-16 -t UTF-8 "$work/uninstall.reg" | tr -d '\r' | awk -F'"' '
            function entry() { if (name != "") print name "|" version "|" publisher "|" code }
            /^\[/ { entry(); name = version = publisher = ""
                    code = $0; sub(/.*\\/, "", code); sub(/\]$/, "", code) }
            $2 == "DisplayName" { name = $4 }
            $2 == "DisplayVersion" { version = $4 }
            $2 == "Publisher" { publisher = $4 }
            END { entry() }'
    done | grep '^Курсове|' || true
}
# The installed folder holds exactly the zip's files, byte for byte.
unzip -q "$zip" -d "$work/zip"
same_as_zip() {
    diff -r "$work/zip"/kursove-*-windows-x64 "$programs" >"$work/diff" \
        || { cat "$work/diff"; fail "the installed folder differs from the zip ($1)"; }
}
version=$(msiinfo export "$msi" Property | tr -d '\r' | sed -n 's/^ProductVersion\t//p')
newversion=$(msiinfo export "$newer" Property | tr -d '\r' | sed -n 's/^ProductVersion\t//p')
[ "$(printf '%s\n' "$version" "$newversion" | sort -V | tail -n 1)" = "$newversion" ] \
    && [ "$newversion" != "$version" ] || fail "$(basename "$newer") is not a later version"

# Installed as a person would: the package opened, its dialogs on screen (each one saved),
# "Инсталирай", then "Готово" with "Стартирай Курсове" ticked, which must start the program in
# the person's settings folder. Its options there name the sample server as the proxy
# (written first: the installer keeps a folder it finds); closing the window writes them back
# in CR LF.
mkdir -p "$optionsdir"
printf '1\n1\n%s\n"127.0.0.1"\n' "$port" >"$optionsdir/options.opt"
options=$(printf '1\r\n1\r\n%s\r\n"127.0.0.1"\r\n' "$port")
cat >"$work/install.sh" <<'SESSION'
set -u
source "$KURSOVE_LIB"
start_wm || exit 1
"$WINE" msiexec /i "$MSI" &
installer() { xdotool search --name 'Инсталиране на Курсове' 2>/dev/null | tail -n 1; }
# Waits up to $2 quarter-seconds for an installer window other than $1; prints it.
next() {
    local w
    for _ in $(seq "$2"); do
        w=$(installer)
        [ -n "$w" ] && [ "$w" != "$1" ] && { echo "$w"; return 0; }
        sleep 0.25
    done
    return 1
}
shot() { import -window root "$SHOTS/raw-msi-$1.png"; }
welcome=$(next none 240) || { echo "msitrial: no welcome dialog"; exit 1; }
sleep 2
shot welcome
xdotool windowactivate --sync "$welcome" key Return
# The progress dialog, while the files are copied; a quick copy may show only the last one.
progress=$(next "$welcome" 240) || { echo "msitrial: nothing after the welcome"; exit 1; }
shot progress
if done=$(next "$progress" 120); then
    sleep 1
else
    done=$progress
    rm -f "$SHOTS/raw-msi-progress.png"
fi
shot done
xdotool windowactivate --sync "$done" key Return
win=$(main_window) || { echo "msitrial: the program did not start from the last dialog"; exit 1; }
sleep 4
shot started
xdotool windowactivate --sync "$win" key alt+F4
main_window_gone || true
timeout 30 "$WINESERVER" -w
SESSION
wine_settle # after the steps above, which had no display
MSI=$(winpath "$msi") WINE=$WINE WINESERVER=$WINESERVER SHOTS=$shots \
    xvfb-run -a -s "-screen 0 1024x768x24" bash "$work/install.sh" || fail "the dialogs' trial failed"
for shot in welcome progress done started; do
    [ -f "$shots/raw-msi-$shot.png" ] || continue
    convert "$shots/raw-msi-$shot.png" -trim +repage "$shots/kursove-msi-$shot.png"
    rm -f "$shots/raw-msi-$shot.png"
done
[ "$(cat "$optionsdir/options.opt")" = "$options" ] \
    || fail "the program started by the installer did not save options.opt in $optionsdir"
echo "msitrial: installed through its dialogs (screenshots kursove-msi-*.png); \"Стартирай" \
    "Курсове\" started the program in %APPDATA%\\Kursove"
same_as_zip "installed"
[ -f "$shortcut" ] || fail "no Start-menu shortcut: $(ls "$(dirname "$shortcut")")"
list=$(installed)
[ "$(wc -l <<<"$list")" = 1 ] && [[ $list == "Курсове|$version|Проектът „Курсове“|{"* ]] \
    || fail "the installed-programs list shows: ${list:-nothing}"
# Installed for this person: registered in their own hive, with the icon the list shows.
"$WINE" reg export 'HKCU\Software\Microsoft\Installer\Products' "$(winpath "$work/products.reg")" \
    /y >/dev/null 2>&1 || fail "the product is not registered for this person"
icon=$(iconv -f UTF-16 -t UTF-8 "$work/products.reg" | tr -d '\r' \
    | sed -n 's/^"ProductIcon"="\(.*\)"$/\1/p' | sed 's/\\\\/\\/g')
[ -n "$icon" ] && [ -s "$("$WINE" winepath -u "$icon" | tr -d '\r')" ] \
    || fail "the installed-programs list has no icon (ProductIcon: ${icon:-none})"
echo "msitrial: $(basename "$msi") installed for this person in" \
    "%LOCALAPPDATA%\\Programs\\Kursove, the same files as the zip;" \
    "listed as Курсове $version by Проектът „Курсове“ with its icon"
# The entry names the folder it installed to, and its size.
entry="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\${list##*|}"
value() { "$WINE" reg query "$entry" /v "$1" | tr -d '\r' | sed -n "s/^ *$1 *REG_[A-Z_]* *//p"; }
location=$(value InstallLocation)
[ "$(realpath -m "$("$WINE" winepath -u "$location" | tr -d '\r')")" = "$programs" ] \
    || fail "the entry names the folder ${location:-nowhere}"
echo "msitrial: the entry names its folder $location; size $(value Size) KiB" \
    "(EstimatedSize $(value EstimatedSize), which Windows works out itself)"

# Started from the menu, as a person would: the options must land in their settings folder.
# Written with LF line ends: closing the window writes them back in CR LF.
printf '1\n1\n%s\n"127.0.0.1"\n' "$port" >"$optionsdir/options.opt"
cat >"$work/session.sh" <<'SESSION'
set -u
source "$KURSOVE_LIB"
start_wm || exit 1
"$WINE" start /unix "$SHORTCUT"
win=$(main_window) || { echo "msitrial: no main window from the shortcut"; exit 1; }
sleep 4
import -window root "$SHOTS/raw-menu.png"
xdotool windowactivate --sync "$win" key alt+F4
main_window_gone || true
timeout 20 "$WINESERVER" -w
SESSION
wine_settle
SHORTCUT=$shortcut WINE=$WINE WINESERVER=$WINESERVER SHOTS=$shots \
    xvfb-run -a -s "-screen 0 1024x768x24" bash "$work/session.sh"
convert "$shots/raw-menu.png" -trim +repage "$shots/kursove-windows-menu.png"
rm -f "$shots/raw-menu.png"
grep -q '^GET http://' "$work/server.log" && grep -q '^CONNECT 127.0.0.1:' "$work/server.log" \
    && grep -q '^GET /zvt/' "$work/server.log" \
    || { cat "$work/server.log"; fail "the page did not come through the proxy and its tunnel"; }
[ "$(cat "$optionsdir/options.opt")" = "$options" ] \
    || fail "options.opt was not saved in $optionsdir: $(od -c "$optionsdir/options.opt")"
stray=$(find "$WINEPREFIX/drive_c/" -name 'options.opt*' ! -path "$optionsdir/*")
[ -z "$stray" ] || fail "options written elsewhere too: $stray"
echo "msitrial: started from the shortcut, fetched the page through 127.0.0.1:$port to HTTPS;" \
    "options.opt saved in %APPDATA%\\Kursove"

# Replaced, never beside: by the same version built again, then by a newer one; an older one
# is refused.
msiexec /i "$(winpath "$rebuilt")" /qn || fail "the same version built again did not install"
list=$(installed)
[ "$(wc -l <<<"$list")" = 1 ] && [[ $list == "Курсове|$version|"* ]] \
    || fail "after the same version again the list shows: $list"
msiexec /i "$(winpath "$newer")" /qn || fail "msiexec /i $(basename "$newer") failed"
list=$(installed)
[ "$(wc -l <<<"$list")" = 1 ] && [[ $list == "Курсове|$newversion|"* ]] \
    || fail "after the upgrade the list shows: $list"
same_as_zip "upgraded"
[ -f "$shortcut" ] || fail "the upgrade lost the shortcut"
if msiexec /i "$(winpath "$msi")" /qn; then fail "an older version installed over a newer one"; fi
list=$(installed)
[[ $list == "Курсове|$newversion|"* ]] \
    || fail "after the older one was refused the list shows: $list"
echo "msitrial: the same version again and $newversion each replaced the one installed" \
    "(one entry); $version over $newversion refused"

# Uninstalled with the list's own command: nothing of the program stays, the options do.
code=${list##*|}
key="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$code"
uninstall=$("$WINE" reg query "$key" /v UninstallString | tr -d '\r' | sed -n 's/.*REG_EXPAND_SZ *//p')
[ "$uninstall" = "MsiExec.exe /X$code" ] || fail "the list's uninstall command is: $uninstall"
msiexec /x "$code" /qn || fail "uninstalling failed"
[ -z "$(installed)" ] || fail "still listed after uninstalling: $(installed)"
left=$(find "$programs" "$shortcut" 2>/dev/null || true)
[ -z "$left" ] || fail "left behind after uninstalling: $left"
[ "$(cat "$optionsdir/options.opt")" = "$options" ] || fail "uninstalling touched options.opt"
! "$WINE" reg query 'HKCU\Software\Kursove' >/dev/null 2>&1 || fail "HKCU\\Software\\Kursove stays"
echo "msitrial: uninstalled: no program files, shortcut or entry left; options.opt kept;" \
    "$(basename "$msi") is $(stat -c %s "$msi") bytes"
