#!/usr/bin/env bash
# Unzips the Windows package into a scratch folder, starts kursove.exe in a fresh Wine prefix
# with the windows platform plugin on Xvfb, pointed by its options.opt at the sample server as
# its proxy, which answers with a redirect to the page over HTTPS (the test CA is trusted in
# this prefix alone). Checks that the page came through the proxy and its CONNECT tunnel and
# that closing the window wrote options.opt back in the program's CR LF form. Screenshots of
# the main window after the refresh, the options dialog and the About window go to SHOTS.
# Then clicks and types at the program during a slow download (see the second session).
# Usage: trial.sh ZIP SAMPLESERVER TRUSTCA_EXE SHOTS   (the sample server is the Linux one)
set -euo pipefail
zip=$(realpath "$1")
server=$(realpath "$2")
trustca=$(realpath "$3")
shots=$(realpath -m "$4")
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
source "$ROOT/tools/lib.sh"
export KURSOVE_LIB=$ROOT/tools/lib.sh # for the sessions on Xvfb
WINE=$(dpkg -L wine64 | grep -m1 '/wine64$')
WINESERVER=$(dirname "$WINE")/wineserver
mkdir -p "$shots"
work=$(mktemp -d /tmp/kursove-wine.XXXXXX)
cleanup() {
    kill $(jobs -p) 2>/dev/null || true
    WINEPREFIX=$work/prefix "$WINESERVER" -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

page=$ROOT/resources/rates-sample.html
tls=$ROOT/tests/tls
"$server" --page "$page" --fault redirect-tls --tls-host 127.0.0.1 --tls-cert "$tls/localhost.crt" \
    --tls-key "$tls/localhost.key" --seconds 600 >"$work/server.log" 2>&1 &
port=$(sampleserver_port "$work/server.log")

unzip -q "$zip" -d "$work"
app=$(echo "$work"/kursove-*-windows-x64)
# Every file in the zip with the notices its licences ask for.
"$ROOT/tools/windows/notices.sh" --check "$app"
# Written with LF line ends, as a text editor would: closing the window must write it back in
# the program's own CR LF form, the same bytes as on Linux.
printf '1\n1\n%s\n"127.0.0.1"\n' "$port" >"$app/options.opt"
options=$(printf '1\r\n1\r\n%s\r\n"127.0.0.1"\r\n' "$port")

# Only the zip's own DLLs: no WINEPATH for the program.
env -u WINEPATH WINEPREFIX="$work/prefix" "$WINE" wineboot --init >/dev/null 2>&1 || true
WINEPREFIX="$work/prefix" "$WINE" "$trustca" "Z:${tls//\//\\}\\ca.crt"
# Each session on its own Xvfb starts with the window manager and the unzipped program, and
# waits for the main window ($win).
cat >"$work/start.sh" <<'SESSION'
set -u
source "$KURSOVE_LIB"
start_wm || exit 1
cd "$APP"
env -u WINEPATH WINEPREFIX="$PREFIX" QT_QPA_PLATFORM=windows "$WINE" kursove.exe &
win=$(main_window) || { echo "trial: no main window"; exit 1; }
SESSION
cat >"$work/session.sh" <<'SESSION'
source "$WORK/start.sh"
sleep 4
import -window root "$SHOTS/raw-main.png"
xdotool windowactivate --sync "$win"
# The menu bar from the keyboard, as on Windows: Alt, then Меню and its first item, Настройки.
xdotool key alt; sleep 0.5; xdotool key Down; sleep 0.5; xdotool key Return; sleep 2
import -window root "$SHOTS/raw-options.png"
xdotool key space; sleep 1 # OK, which has the focus: nothing changed
xdotool windowactivate --sync "$win"
# F10 selects the menu bar as Alt does: Right, Enter then opens За програмата.
xdotool key F10; sleep 0.5; xdotool key Right; sleep 0.5; xdotool key Return; sleep 2
xdotool search --name 'За програмата' >"$WORK/about.txt" 2>/dev/null || true
import -window root "$SHOTS/raw-about.png"
xdotool key space; sleep 1
# The rates copied reach the clipboard (what becomes of them after the end is the exe's
# OleFlushClipboard, which build.sh checks it imports: Wine 8 keeps no ended program's copy).
xdotool windowactivate --sync "$win"
xdotool mousemove --window "$win" 200 200 click 1 key ctrl+a key ctrl+c; sleep 1
timeout 10 xclip -o -selection clipboard >"$WORK/clipboard.txt" 2>/dev/null || true
xdotool key alt+F4
sleep 3
SESSION
WINEPREFIX=$work/prefix wine_settle # each session after the last one's Wine server
APP=$app PREFIX=$work/prefix WINE=$WINE SHOTS=$shots WORK=$work \
    xvfb-run -a -s "-screen 0 1024x768x24" bash "$work/session.sh"
for s in main options about; do
    convert "$shots/raw-$s.png" -trim +repage "$shots/kursove-windows-$s.png"
    rm -f "$shots/raw-$s.png"
done

fail() { echo "trial: $*" >&2; exit 1; }
grep -q '^GET http://' "$work/server.log" \
    || { cat "$work/server.log"; fail "the page was not asked of the proxy"; }
grep -q "^CONNECT 127.0.0.1:" "$work/server.log" && grep -q '^GET /zvt/' "$work/server.log" \
    || { cat "$work/server.log"; fail "the redirect to HTTPS was not followed through the proxy"; }
[ "$(cat "$app/options.opt")" = "$options" ] \
    || fail "options.opt was not saved as expected: $(od -c "$app/options.opt")"
[ ! -e "$app/options.opt.bak" ] || fail "a readable options.opt was kept as a backup"
[ -s "$work/about.txt" ] || fail "F10, Right, Enter did not open the About window"
grep -q "$(printf '\tUSD\t')" "$work/clipboard.txt" \
    || fail "Ctrl+A, Ctrl+C did not copy the rates: $(head -c 200 "$work/clipboard.txt")"
echo "trial: $(basename "$zip") fetched the page through 127.0.0.1:$port, redirected to HTTPS" \
    "and tunnelled; F10 reached the About window; the rates were copied; options.opt" \
    "saved; screenshots in $shots"

# Input during a slow download, made through the window system as a person's is: three clicks
# on the disabled button, F5 and Enter must start nothing once the page is in; Alt+F4 during a
# download must save and end at once.
"$server" --page "$page" --delay 6000 --seconds 600 >"$work/slow.log" 2>&1 &
slowport=$(sampleserver_port "$work/slow.log")
printf '1\n0\n%s\n"127.0.0.1"\n' "$slowport" >"$app/options.opt" # LF: the save makes it CR LF
cat >"$work/input.sh" <<'SESSION'
source "$WORK/start.sh"
sleep 2
xdotool windowactivate --sync "$win"
# The button's middle, below the menu bar, in the window's own coordinates.
button="68 376"
xdotool key F5; sleep 1
xdotool mousemove --window "$win" $button click --repeat 3 --delay 300 1 key F5 key Return
sleep 9 # the answer comes 6 seconds after the request
echo "requests after the first refresh: $(grep -c '^GET' <(tr -d '\r' <"$LOG"))"
xdotool mousemove --window "$win" $button click 1; sleep 1
xdotool key alt+F4
for _ in $(seq 6); do
    sleep 0.5
    xdotool search --name 'Валутни курсове' >/dev/null 2>&1 || { echo "closed"; break; }
done
SESSION
WINEPREFIX=$work/prefix wine_settle
APP=$app PREFIX=$work/prefix WINE=$WINE LOG=$work/slow.log WORK=$work \
    xvfb-run -a -s "-screen 0 1024x768x24" bash "$work/input.sh" >"$work/input.out" 2>&1
cat "$work/input.out"
grep -q '^requests after the first refresh: 1$' "$work/input.out" \
    || fail "input made during a download started another request"
[ "$(grep -c '^GET' <(tr -d '\r' <"$work/slow.log"))" = 2 ] \
    || fail "a click after the refresh did not reach the button"
grep -q '^closed$' "$work/input.out" || fail "Alt+F4 during a download did not end the program"
[ "$(cat "$app/options.opt")" = "$(printf '1\r\n0\r\n%s\r\n"127.0.0.1"\r\n' "$slowport")" ] \
    || fail "options.opt was not saved on Alt+F4: $(od -c "$app/options.opt")"
echo "trial: input during a download dropped, a later click refreshed, Alt+F4 saved and ended"

# At a command prompt, typed as a person types (an interactive cmd on a terminal, which does
# not wait for a windowed program): "kursove" is kursove.com, which waits, so the help comes
# before the next prompt and a refusal leaves %errorlevel% at 2. Help sent to a file is UTF-8
# with a byte order mark: this prefix's code page is Western, with no Cyrillic.
rm -f "$app/options.opt"
cat >"$work/prompt.sh" <<'SESSION'
cd "$APP"
{
    sleep 3
    for line in 'kursove --help' 'echo next' 'kursove --bogus' 'echo errorlevel=%errorlevel%' \
        'kursove --help-all > help.txt' 'exit'; do
        printf '%s\r' "$line"
        sleep 2
    done
} | env -u WINEPATH WINEPREFIX="$PREFIX" LC_ALL=C.UTF-8 script -qc "$WINE cmd" /dev/null
SESSION
WINEPREFIX=$work/prefix wine_settle
APP=$app PREFIX=$work/prefix WINE=$WINE timeout 120 xvfb-run -a bash "$work/prompt.sh" 2>&1 \
    | sed 's/\x1b\[[0-9;?]*[A-Za-z]//g; s/\x1b\][^\x07]*\x07//g' | tr -d '\r' | grep -v '^$' \
    >"$work/prompt.out" || true
sed 's/^/  | /' "$work/prompt.out"
# (Wine's own messages may come between a prompt and what is typed at it.)
awk '/kursove --help$/ { asked = 1 } asked && /^Използване: kursove/ { helped = 1 }
     /echo next$/ { ok = asked && helped; exit } END { exit !ok }' "$work/prompt.out" \
    || fail "kursove --help at a prompt did not answer before the next prompt"
grep -qx 'errorlevel=2' "$work/prompt.out" || fail "kursove --bogus left %errorlevel% other than 2"
[ "$(head -c 3 "$app/help.txt")" = $'\xEF\xBB\xBF' ] && iconv -f UTF-8 -t UTF-8 "$app/help.txt" \
    | grep -q 'Използване: kursove' || fail "help sent to a file is not UTF-8 with a byte order mark"
width=$(tail -c +4 "$app/help.txt" | tr -d '\r' | LC_ALL=C.UTF-8 wc -L)
[ "$width" -le 79 ] || fail "--help-all has a line $width columns wide"
echo "trial: at a cmd prompt kursove --help answered before the next prompt, --bogus set" \
    "%errorlevel% to 2, and --help-all > help.txt is UTF-8 with a byte order mark"
