#!/usr/bin/env bash
# The program's start under Wine against the same window written plainly, both cross-built
# with the same Qt and started in turns in one prefix, on the display and Wine server the
# caller keeps up: the median time of each from start to exit, and its peak memory.
#   startup.sh BUILD_DIR [starts]
set -euo pipefail
BUILD=$1
STARTS=${2:-11}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" # the program reads and may write options.opt where it starts

# One start: prints "milliseconds peak-KiB".
start() {
    local begin end said
    begin=$(date +%s%N)
    said=$("$WINE" "$@" 2>/dev/null | tr -d '\r')
    end=$(date +%s%N)
    echo "$(((end - begin) / 1000000)) $(sed -n 's/^peak //p' <<<"$said")"
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

: >program.txt
: >plain.txt
for _ in $(seq "$STARTS"); do
    start "$BUILD/kursove-startprobe.exe" >>program.txt
    start "$BUILD/kursove-startbaseline.exe" --plain "MS Sans Serif" >>plain.txt
done
row() {
    awk -v what="$1" -v a="$2" -v b="$3" -v unit="$4" \
        'BEGIN { printf "  %-38s %9.1f %-3s %9.1f %-3s %5.2f\n", what, a, unit, b, unit, a / b }'
}
printf '  %-38s %13s %13s %5s\n' "under Wine (median of $STARTS starts)" "kursove" "plain window" "ratio"
row "start to window shown" "$(cut -d' ' -f1 program.txt | median)" \
    "$(cut -d' ' -f1 plain.txt | median)" ms
row "peak memory" "$(cut -d' ' -f2 program.txt | median | awk '{ print $1 / 1024 }')" \
    "$(cut -d' ' -f2 plain.txt | median | awk '{ print $1 / 1024 }')" MiB
