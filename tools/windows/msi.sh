#!/usr/bin/env bash
# Builds the Windows installer from the zip's folder, so the two always hold the same files.
# Usage: msi.sh STAGEDIR VERSION ICO OUT.msi
set -euo pipefail
stagedir=$(realpath "$1")
version=$2
ico=$(realpath "$3")
out=$(realpath -m "$4")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d /tmp/kursove-msi.XXXXXX)
# A package that failed a step is not left behind.
trap 'status=$?; rm -rf "$work"; [ $status = 0 ] || rm -f "$out"' EXIT
fail() { echo "msi: $*" >&2; exit 1; }

# A stable GUID for a name, so a folder's component keeps its identity from one build to the
# next.
guid() {
    md5sum <<<"kursove:$1" | tr a-f A-F \
        | sed -E 's/^(.{8})(.{4})(.{4})(.{4})(.{12}).*/\1-\2-\3-\4-\5/'
}
# An installer table key from a path: letters, digits, _ and . only.
key() { echo "$1_${2//[^A-Za-z0-9_.]/_}"; }
xml() { sed 's/&/\&amp;/g; s/</\&lt;/g; s/>/\&gt;/g; s/"/\&quot;/g' <<<"$1"; }

# One component per folder, each file in it, kept track of under HKCU as every component of
# a per-person install must be; the folder itself goes on uninstalling. Newer versions
# replace older ones whole (the older is removed first), so a folder's files may change
# between versions under the same component.
files=$work/files.wxs
declare -A ids=()
{
    echo '<?xml version="1.0" encoding="utf-8"?>'
    echo '<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi"><Fragment>'
    refs=""
    while IFS= read -r dir; do
        rel=${dir#"$stagedir"}
        rel=${rel#/}
        echo '<DirectoryRef Id="INSTALLDIR">'
        if [ -n "$rel" ]; then
            [[ $rel != */* ]] || fail "nested folder $rel: the installer has one level of folders"
            echo "<Directory Id=\"$(key dir "$rel")\" Name=\"$(xml "$rel")\">"
        fi
        name=${rel:-program}
        comp=$(key cmp "$name")
        echo "<Component Id=\"$comp\" Guid=\"$(guid "${rel:-.}")\">"
        while IFS= read -r f; do
            id=$(key file "${f#"$stagedir"/}")
            [ -z "${ids[$id]:-}" ] || fail "two files with the key $id"
            ids[$id]=1
            echo "<File Id=\"$id\" Source=\"$(xml "program/${f#"$stagedir"/}")\" KeyPath=\"no\"/>"
        done < <(find "$dir" -maxdepth 1 -type f | LC_ALL=C sort)
        echo "<RegistryValue Root=\"HKCU\" Key=\"Software\\Kursove\\Installed\"" \
            "Name=\"$(xml "$name")\" Type=\"integer\" Value=\"1\" KeyPath=\"yes\"/>"
        echo "<RemoveFolder Id=\"$(key rm "$name")\" On=\"uninstall\"/>"
        echo '</Component>'
        [ -z "$rel" ] || echo '</Directory>'
        echo '</DirectoryRef>'
        refs+="<ComponentRef Id=\"$comp\"/>"
    done < <(find "$stagedir" -type d | LC_ALL=C sort)
    echo "<ComponentGroup Id=\"ProgramFiles\">$refs</ComponentGroup>"
    echo '</Fragment></Wix>'
} >"$files"
[ -n "${ids[file_kursove.exe]:-}" ] || fail "no kursove.exe in $stagedir"

# wixl finds files by paths relative to the folder it runs in, never absolute ones.
ln -s "$stagedir" "$work/program"
cp "$ico" "$work/kursove.ico"
mkdir -p "$(dirname "$out")"
rm -f "$out"
# wixl warns of what it ignores on stderr and goes on: any warning is a fault here.
(cd "$work" && wixl -a x64 -D Version="$version" -o "$out" "$here/kursove.wxs" "$files") \
    2>"$work/wixl.log" || { cat "$work/wixl.log" >&2; fail "wixl failed"; }
if grep -q . "$work/wixl.log"; then
    cat "$work/wixl.log" >&2
    fail "wixl warned"
fi

# What wixl cannot do, done on its output. The tables' text in Windows-1251, so the names can
# be Bulgarian (wixl stores no text outside ASCII: it would be left empty).
printf '\r\n\r\n1251\t_ForceCodepage\r\n' >"$work/_ForceCodepage.idt"
msibuild "$out" -i "$work/_ForceCodepage.idt"
bulgarian=(
    "UPDATE \`Property\` SET \`Value\` = 'Курсове' WHERE \`Property\` = 'ProductName'"
    "UPDATE \`Property\` SET \`Value\` = 'Проектът „Курсове“' WHERE \`Property\` = 'Manufacturer'"
    "UPDATE \`Shortcut\` SET \`Name\` = 'Курсове',
        \`Description\` = 'Официалните курсове на чуждестранните валути към българския лев'
        WHERE \`Shortcut\` = 'MenuShortcut'"
    "UPDATE \`LaunchCondition\`
        SET \`Description\` = 'Вече е инсталирана по-нова версия на Курсове.'
        WHERE \`Condition\` = 'NOT WIX_DOWNGRADE_DETECTED'"
)
for query in "${bulgarian[@]}"; do
    msibuild "$out" -q "$query"
done
# The dialogs a person sees when opening the package (wixl writes none): welcome, progress
# (with each step's Bulgarian name), done with "start Kursove", and the two ends that went
# wrong. Their tables are in ui/; here they are put in the sequence. With /qn none shows,
# nor does the program start.
for idt in "$here"/ui/*.idt; do
    sed 's/$/\r/' "$idt" >"$work/$(basename "$idt")"
    msibuild "$out" -i "$work/$(basename "$idt")"
done
ui=(
    "INSERT INTO \`InstallUISequence\` (\`Action\`, \`Condition\`, \`Sequence\`)
        VALUES ('WelcomeDlg', 'NOT Installed', 1230)"
    "INSERT INTO \`InstallUISequence\` (\`Action\`, \`Sequence\`) VALUES ('ProgressDlg', 1299)"
    "INSERT INTO \`InstallUISequence\` (\`Action\`, \`Sequence\`) VALUES ('ExitDialog', -1)"
    "INSERT INTO \`InstallUISequence\` (\`Action\`, \`Sequence\`) VALUES ('UserExit', -2)"
    "INSERT INTO \`InstallUISequence\` (\`Action\`, \`Sequence\`) VALUES ('FatalError', -3)"
    "INSERT INTO \`Property\` (\`Property\`, \`Value\`) VALUES ('DefaultUIFont', 'KNormal')"
    "INSERT INTO \`Property\` (\`Property\`, \`Value\`) VALUES ('LAUNCHKURSOVE', '1')"
    # Started as the shortcut starts it: in the person's settings folder, not waited for
    # (34: an exe in a folder, 192: asynchronous).
    "INSERT INTO \`CustomAction\` (\`Action\`, \`Type\`, \`Source\`, \`Target\`)
        VALUES ('LaunchKursove', 226, 'OPTIONSDIR', '\"[INSTALLDIR]kursove.exe\"')"
    # The installed-programs entry names the folder (51: sets a property), once it is known.
    "INSERT INTO \`CustomAction\` (\`Action\`, \`Type\`, \`Source\`, \`Target\`)
        VALUES ('SetInstallLocation', 51, 'ARPINSTALLLOCATION', '[INSTALLDIR]')"
    # ...and its size in KiB.
    "INSERT INTO \`Property\` (\`Property\`, \`Value\`)
        VALUES ('ARPSIZE', '$(du -sk --apparent-size "$stagedir" | cut -f1)')"
    "INSERT INTO \`InstallExecuteSequence\` (\`Action\`, \`Sequence\`)
        VALUES ('SetInstallLocation', 1001)"
)
for query in "${ui[@]}"; do
    msibuild "$out" -q "$query"
done
# A rebuild of the same version replaces the installed one instead of going in beside it:
# wixl's upgrade row leaves the same version out, 512 takes it in. The attributes are part of
# the row's key, which SQL cannot change, so the table is written back whole.
msiinfo export "$out" Upgrade \
    | awk -F'\t' -v OFS='\t' '$7 ~ /^WIX_UPGRADE_DETECTED\r?$/ { $5 = $5 + 512 } { print }' \
    >"$work/Upgrade.idt"
msibuild "$out" -i "$work/Upgrade.idt"
# Last, as msibuild writes the summary again: what Explorer shows of the file, in Bulgarian.
"$here/msisummary.py" "$out" "Инсталатор на Курсове" "Курсове $version" "Проектът „Курсове“" \
    "Курсове, валутни курсове, инсталатор" \
    "Официалните курсове на чуждестранните валути към българския лев" "x64;1026"

# Read back: each change must be in the file.
table() { msiinfo export "$out" "$1" | tr -d '\r\0'; }
expect() { grep -qxF -- "$2" <<<"$(table "$1")" || fail "$1 lacks: $2"; }
expect _ForceCodepage "1251	_ForceCodepage"
expect Property "ProductName	Курсове"
expect Property "Manufacturer	Проектът „Курсове“"
expect Property "ProductVersion	$version"
grep -q "^MenuShortcut	ProgramMenuFolder	Курсове	" <<<"$(table Shortcut)" \
    || fail "the shortcut has no Bulgarian name"
grep -q "	OPTIONSDIR	" <<<"$(table Shortcut)" || fail "the shortcut starts elsewhere"
grep -qE '	513	+WIX_UPGRADE_DETECTED$' <<<"$(table Upgrade)" \
    || fail "the same version would install beside itself"
# Installs for the person, without administrator rights: no ALLUSERS, and the summary's word
# count says compressed (2) with limited privileges (8).
! grep -q '^ALLUSERS	' <<<"$(table Property)" || fail "ALLUSERS is set"
msiinfo suminfo "$out" | grep -qx 'Source: 10 (a)' || fail "the package asks for elevation"
msiinfo suminfo "$out" | iconv -f CP1251 | grep -qx "Subject: Курсове $version" \
    || fail "the summary is not in Bulgarian"
for dialog in WelcomeDlg ProgressDlg ExitDialog UserExit FatalError; do
    grep -q "^$dialog	" <<<"$(table InstallUISequence)" || fail "$dialog is never shown"
done
expect CustomAction "SetInstallLocation	51	ARPINSTALLLOCATION	[INSTALLDIR]	"
# Every staged file is in the installer.
[ "$(table File | tail -n +4 | wc -l)" = "$(find "$stagedir" -type f | wc -l)" ] \
    || fail "the installer and $stagedir hold different numbers of files"
