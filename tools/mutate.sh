#!/usr/bin/env bash
# Plants the faults listed in tools/mutate/faults.txt, one at a time, in a copy of the tracked
# tree, and runs the tests against each: a fault the tests let through shows a test that is
# missing. The copy is built once and then incrementally, so the work tree is never touched
# and a developer can go on editing and building there meanwhile.
#
# A fault's `caught-by:` line names the test that caught it last time. That test is built and
# run first; only if it passes is the rest of the suite built and run, stopping at its first
# failure. The test that caught the fault is written back to its `caught-by:` line.
#
#   tools/mutate.sh [filter...]  every fault, or those whose name or file contains a filter
#   tools/mutate.sh --check      only checks that every fault's text is still found in the tree
#   tools/mutate.sh --list       the faults as README.md lists them
#   tools/mutate.sh --readme     rewrites that list in README.md
#
# Exits non-zero when a fault was missed, did not build, or is stale (its text is no longer
# found exactly once), or when README.md's list differs from the data file.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
FAULTS=$ROOT/tools/mutate/faults.txt
README=$ROOT/README.md
# Outside the work tree, one per work tree, kept between runs so later runs build little.
WORK=${KURSOVE_MUTATE_DIR:-${TMPDIR:-/tmp}/kursove-mutate-$(id -u)-$(printf %s "$ROOT" | cksum | cut -d' ' -f1)}
SRC=$WORK/src
BLD=$WORK/build
LOGS=$WORK/logs
# A planted fault that hangs a test is caught once this many seconds have passed.
TEST_TIMEOUT=${KURSOVE_MUTATE_TEST_TIMEOUT:-60}
BEGIN_MARK='<!-- faults: written by tools/mutate.sh --readme from tools/mutate/faults.txt -->'
END_MARK='<!-- end of faults -->'

die() {
    echo "mutate: $*" >&2
    exit 2
}

# --- The data file -------------------------------------------------------------------------

NAMES=() FILES=() FROMS=() TOS=() CAUGHT_BY=()

# Blocks of "key: value" lines; "from" and "to" may repeat, one line of text each.
read_faults() {
    local line lineno=0 key value name="" file="" from="" to="" by="" has_from=0 has_to=0 start=0
    finish() {
        if [ -z "$name$file$from$to" ] && [ $has_from$has_to = 00 ]; then
            return 0
        fi
        [ -n "$name" ] || die "$FAULTS:$start: a fault without a name"
        [ -n "$file" ] || die "$FAULTS:$start: \"$name\" names no file"
        [ $has_from = 1 ] && [ -n "$from" ] || die "$FAULTS:$start: \"$name\" has no from"
        [ $has_to = 1 ] || die "$FAULTS:$start: \"$name\" has no to"
        [ "$from" != "$to" ] || die "$FAULTS:$start: \"$name\" changes nothing"
        local i
        for i in "${!NAMES[@]}"; do
            [ "${NAMES[i]}" != "$name" ] || die "$FAULTS:$start: \"$name\" is there twice"
        done
        NAMES+=("$name") FILES+=("$file") FROMS+=("$from") TOS+=("$to") CAUGHT_BY+=("$by")
        name="" file="" from="" to="" by="" has_from=0 has_to=0
    }
    while IFS= read -r line || [ -n "$line" ]; do
        lineno=$((lineno + 1))
        case "$line" in
        '#'*) continue ;;
        '' | *[![:space:]]*) ;;
        *) line="" ;;
        esac
        if [ -z "$line" ]; then
            finish
            continue
        fi
        [ "$name$file$from$to$has_from$has_to" = 00 ] && start=$lineno
        key=${line%%:*}
        [ "$key" != "$line" ] || die "$FAULTS:$lineno: not a \"key: value\" line"
        value=${line#*:}
        value=${value# } # one blank after the colon; the rest is the text as it stands
        case "$key" in
        name) name=$value ;;
        file) file=$value ;;
        from)
            [ $has_from = 1 ] && from+=$'\n'
            from+=$value
            has_from=1
            ;;
        to)
            [ $has_to = 1 ] && to+=$'\n'
            to+=$value
            has_to=1
            ;;
        caught-by) by=$value ;;
        *) die "$FAULTS:$lineno: unknown key \"$key\"" ;;
        esac
    done <"$FAULTS"
    finish
    [ ${#NAMES[@]} -gt 0 ] || die "no faults in $FAULTS"
}

# The part of the program a file belongs to: its folder (platform/ has two).
room_of() {
    case "$1" in
    platform/*/*) echo "${1%/*}" ;;
    */*) echo "${1%%/*}" ;;
    *) echo . ;;
    esac
}

# The README's list: the fault names under their folders, in the data file's order.
fault_list() {
    local rooms=() room i seen
    for i in "${!FILES[@]}"; do
        room=$(room_of "${FILES[i]}")
        seen=0
        for r in "${rooms[@]}"; do [ "$r" = "$room" ] && seen=1; done
        [ $seen = 1 ] || rooms+=("$room")
    done
    for room in "${rooms[@]}"; do
        echo
        echo "\`$room/\`:"
        echo
        for i in "${!NAMES[@]}"; do
            [ "$(room_of "${FILES[i]}")" = "$room" ] && echo "- ${NAMES[i]}"
        done
    done
    echo
}

readme_list() {
    awk -v begin="$BEGIN_MARK" -v end="$END_MARK" '
        $0 == end { inside = 0 }
        inside { print }
        $0 == begin { inside = 1 }' "$README"
}

write_readme() {
    grep -qxF "$BEGIN_MARK" "$README" && grep -qxF "$END_MARK" "$README" ||
        die "README.md has no place for the list (the lines $BEGIN_MARK and $END_MARK)"
    local list new
    list=$(mktemp)
    new=$(mktemp)
    fault_list >"$list"
    awk -v begin="$BEGIN_MARK" -v end="$END_MARK" -v list="$list" '
        $0 == end { inside = 0 }
        !inside { print }
        $0 == begin { inside = 1; while ((getline l < list) > 0) print l }' "$README" >"$new"
    cat "$new" >"$README"
    rm -f "$list" "$new"
}

# --- Planting ------------------------------------------------------------------------------

# The file's text exactly, its last line break included.
contents() {
    local text
    text=$(cat "$1" && printf x)
    printf '%s' "${text%x}"
}

occurrences() {
    local text=$1 needle=$2 n=0
    while [[ $text == *"$needle"* ]]; do
        text=${text#*"$needle"}
        n=$((n + 1))
    done
    echo $n
}

# Prints "ok", or why fault $1 cannot be planted in the tree under $2.
plantable() {
    local path=$2/${FILES[$1]}
    if [ ! -f "$path" ]; then
        echo "no file ${FILES[$1]}"
        return
    fi
    local n
    n=$(occurrences "$(contents "$path")" "${FROMS[$1]}")
    case $n in
    1) echo ok ;;
    0) echo "its text is not in ${FILES[$1]}" ;;
    *) echo "its text is in ${FILES[$1]} $n times" ;;
    esac
}

# Copies the tracked files (as they are in the work tree, changes included) into $SRC. Only
# files that differ are written, so the build there redoes only what changed.
sync_tree() {
    mkdir -p "$SRC"
    local listed file
    listed=$(mktemp)
    git -C "$ROOT" ls-files -z >"$listed"
    while IFS= read -r -d '' file; do
        [ -f "$ROOT/$file" ] || continue
        if ! cmp -s "$ROOT/$file" "$SRC/$file"; then
            mkdir -p "$(dirname "$SRC/$file")"
            cp --preserve=mode "$ROOT/$file" "$SRC/$file"
        fi
    done <"$listed"
    # Files no longer tracked would still be built there.
    (cd "$SRC" && find . -type f -printf '%P\0') | while IFS= read -r -d '' file; do
        grep -qzxF -- "$file" "$listed" || rm -f "$SRC/$file"
    done
    rm -f "$listed"
}

# The commands below are run without the lock's descriptor (9), so that nothing they leave
# running holds the scratch folder.
build() {
    cmake --build "$BLD" >"$1" 2>&1 9>&-
}

# The build target of a test: its own name, less the suffix of a further run of the same
# program (on X11, on a scaled screen, on Wayland).
target_of() {
    case $1 in
    *_x11 | *_scaled | *_wayland) echo "${1%_*}" ;;
    *) echo "$1" ;;
    esac
}

# Runs the tests that ctest selects with the arguments, stopping at the first failure; prints
# the names of those that failed, and fails if any did.
run_tests() {
    local log=$1
    shift
    if ctest --test-dir "$BLD" -j2 --timeout "$TEST_TIMEOUT" --stop-on-failure \
        --output-on-failure "$@" >"$log" 2>&1 9>&-; then
        return 0
    fi
    sed -n '/The following tests FAILED:/,$ s/^[[:space:]]*[0-9]* - \([^ ]*\) .*/\1/p' "$log" |
        tr '\n' ' ' | sed 's/ $//'
    return 1
}

# With fault $1 planted: builds and runs the test that caught it last time, then, if that
# passed, everything else. Prints "caught <tests>", "missed" or "build broken".
try_fault() {
    local i=$1 log=$2 by=${CAUGHT_BY[$1]} failed skip=()
    if [ -n "$by" ] && cmake --build "$BLD" --target "$(target_of "$by")" >"$log" 2>&1 9>&-; then
        if ! failed=$(run_tests "$log.first" -R "^${by}\$"); then
            echo "caught $failed"
            return
        fi
        skip=(-E "^${by}\$")
    fi
    if ! build "$log"; then
        echo "build broken"
        return
    fi
    if failed=$(run_tests "$log.rest" "${skip[@]}"); then
        echo missed
    else
        echo "caught $failed"
    fi
}

# Writes the test that caught fault $1 into its block of the data file, as its caught-by line.
record_caught_by() {
    local name=$1 by=$2 new
    new=$(mktemp)
    awk -v name="name: $name" -v by="caught-by: $by" '
        $0 == name { inside = 1 }
        inside && /^caught-by:/ { next }
        inside && /^[[:space:]]*$/ { print by; inside = 0 }
        { print }
        END { if (inside) print by }' "$FAULTS" >"$new"
    cat "$new" >"$FAULTS"
    rm -f "$new"
}

PLANTED=""
restore() {
    if [ -n "$PLANTED" ]; then
        cp "$WORK/original" "$PLANTED"
        PLANTED=""
    fi
}

# --- Commands ------------------------------------------------------------------------------

read_faults

case "${1:-}" in
--list)
    fault_list
    exit 0
    ;;
--readme)
    write_readme
    echo "README.md: $((${#NAMES[@]})) faults listed"
    exit 0
    ;;
--check)
    status=0
    for i in "${!NAMES[@]}"; do
        why=$(plantable "$i" "$ROOT")
        [ "$why" = ok ] || { echo "stale        ${NAMES[i]}: $why"; status=1; }
    done
    [ "$(readme_list)" = "$(fault_list)" ] ||
        { echo "README.md's list of faults differs: run tools/mutate.sh --readme"; status=1; }
    [ $status = 0 ] && echo "${#NAMES[@]} faults, each found once; README.md lists them"
    exit $status
    ;;
-*) die "unknown option $1 (see the head of tools/mutate.sh)" ;;
esac

# A fault is picked when its name (in any case) or its file contains one of the filters.
picked() {
    local filter
    [ $# -gt 1 ] || return 0
    for filter in "${@:2}"; do
        [[ ${NAMES[$1],,} == *"${filter,,}"* || ${FILES[$1]} == *"$filter"* ]] && return 0
    done
    return 1
}
SELECTED=()
for i in "${!NAMES[@]}"; do
    if picked "$i" "$@"; then
        SELECTED+=("$i")
    fi
done
[ ${#SELECTED[@]} -gt 0 ] || die "no fault's name or file contains any of: $*"

# One run at a time in one scratch folder.
mkdir -p "$WORK" "$LOGS"
exec 9>"$WORK/lock"
flock -n 9 || die "another run is using $WORK"
trap restore EXIT
trap 'exit 130' INT TERM

started=$SECONDS
echo "Copying the tracked tree to $SRC and building it in $BLD"
sync_tree
# Unoptimised and without debug information: each fault rebuilds and relinks fastest so.
cmake -S "$SRC" -B "$BLD" -G Ninja -DCMAKE_BUILD_TYPE= -DBUILD_TESTING=ON \
    -DKURSOVE_SANITIZE=OFF -DKURSOVE_FUZZ=OFF -DKURSOVE_TEST_TIMEOUT="$TEST_TIMEOUT" \
    >"$LOGS/configure.log" 2>&1 9>&- || { cat "$LOGS/configure.log"; die "configuring failed"; }
build "$LOGS/build.log" || { tail -40 "$LOGS/build.log"; die "the unchanged tree does not build"; }
if ! failed=$(run_tests "$LOGS/suite.log"); then
    die "the unchanged suite fails ($failed): see $LOGS/suite.log"
fi
echo "The unchanged suite passes ($((SECONDS - started)) s). Planting ${#SELECTED[@]} fault(s):"

caught=0 missed=0 stale=0 broken=0
for i in "${SELECTED[@]}"; do
    name=${NAMES[i]} file=${FILES[i]} path=$SRC/${FILES[i]}
    log=$LOGS/$(printf '%03d' "$i").log
    t=$SECONDS
    why=$(plantable "$i" "$SRC")
    if [ "$why" != ok ]; then
        printf '%-13s %s (%s)\n' stale "$name" "$why"
        stale=$((stale + 1))
        continue
    fi
    text=$(contents "$path")
    cp --preserve=mode "$path" "$WORK/original"
    PLANTED=$path
    printf '%s' "${text/"${FROMS[i]}"/"${TOS[i]}"}" >"$path"
    outcome=$(try_fault "$i" "$log")
    case "$outcome" in
    "build broken")
        printf '%-13s %s (%s; see %s)\n' "build broken" "$name" "$file" "$log"
        broken=$((broken + 1))
        ;;
    missed)
        printf '%-13s %s (%s)\n' missed "$name" "$file"
        missed=$((missed + 1))
        ;;
    *)
        failed=${outcome#caught }
        printf '%-13s %s (%s: %s; %d s)\n' caught "$name" "$file" "$failed" $((SECONDS - t))
        caught=$((caught + 1))
        first=${failed%% *}
        [ "$first" = "${CAUGHT_BY[i]}" ] || record_caught_by "$name" "$first"
        ;;
    esac
    restore
done

status=0
summary="${#SELECTED[@]} fault$([ ${#SELECTED[@]} = 1 ] || echo s): $caught caught, $missed missed"
[ $stale = 0 ] || summary+=", $stale stale"
[ $broken = 0 ] || summary+=", $broken build broken"
echo "$summary ($(((SECONDS - started) / 60)) min $(((SECONDS - started) % 60)) s)"
[ $((missed + stale + broken)) = 0 ] || status=1
if [ "$(readme_list)" != "$(fault_list)" ]; then
    echo "README.md's list of faults differs from $FAULTS: run tools/mutate.sh --readme"
    status=1
fi
exit $status
