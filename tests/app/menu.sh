#!/bin/sh
# The desktop menu's launcher (app/kursove-menu, or the packaged one) started as a desktop
# starts it, with the kursove in BIN_DIR: its options land in the settings folder, made
# private, never among a person's documents; where that folder cannot be had the program
# still starts, in a folder it can use, and says why on standard error.
# Usage: menu.sh LAUNCHER BIN_DIR
launcher=$1 bin=$2
scratch=$(mktemp -d /tmp/kursove-menu.XXXXXX) || exit 1
trap 'chmod -R u+w "$scratch"; rm -rf "$scratch"' EXIT
fail() { echo "menu: $*" >&2; exit 1; }
# Starts the launcher from FOLDER with the environment given; its standard error in $scratch/err.
start() {
    folder=$1
    shift
    (cd "$folder" && env -i PATH="$bin:/usr/bin:/bin" QT_QPA_PLATFORM=offscreen "$@" \
        timeout 3 "$launcher" >/dev/null 2>"$scratch/err") || true
}
home=$scratch/home run=$scratch/run
mkdir "$home" "$run"
start "$home" HOME="$home"
[ -f "$home/.config/kursove/options.opt" ] || fail "options.opt is not in ~/.config/kursove"
[ "$(stat -c %a "$home/.config" "$home/.config/kursove" | sort -u)" = 700 ] ||
    fail "the settings folders are not private: $(stat -c '%n %a' "$home/.config" "$home/.config/kursove")"
start "$home" HOME="$home" XDG_CONFIG_HOME="$home/settings"
[ -f "$home/settings/kursove/options.opt" ] || fail "XDG_CONFIG_HOME is not used"
[ ! -e "$home/options.opt" ] || fail "options.opt landed in the home folder"
! grep -q kursove-menu: "$scratch/err" || fail "it complains where all is well: $(cat "$scratch/err")"

# No settings folder to be had: no home (the menu started from /), ~/.config a file, and,
# where permissions hold (not for root), a home that cannot be written.
filehome=$scratch/filehome lockedhome=$scratch/lockedhome
mkdir "$filehome" "$lockedhome"
: >"$filehome/.config"
chmod 555 "$lockedhome"
for case in nohome filehome lockedhome; do
    [ $case = lockedhome ] && [ "$(id -u)" = 0 ] && continue
    rm -rf "$run/kursove"
    case $case in
    nohome) start / XDG_RUNTIME_DIR="$run" ;;
    *) start "$scratch/$case" HOME="$scratch/$case" XDG_RUNTIME_DIR="$run" ;;
    esac
    [ -f "$run/kursove/options.opt" ] || fail "$case: the program did not start in a folder it can use"
    [ "$(grep -c 'kursove-menu: .*kursove' "$scratch/err")" = 1 ] ||
        fail "$case: no line saying why: $(cat "$scratch/err")"
    ! grep -q mkdir "$scratch/err" || fail "$case: mkdir's own error: $(cat "$scratch/err")"
done
[ ! -e /.config/kursove ] || [ -n "$(find /.config/kursove -prune -mmin +1)" ] ||
    fail "with no home it wrote under /"
echo "menu: the launcher starts the program in every case"
