#!/usr/bin/env bash
# Every file that tests a Q_OS_* macro includes a Qt header of its own before that line: the
# macros come from Qt's headers, and without one an OS branch vanishes with no warning.
set -euo pipefail
cd "$(dirname "$0")/.."
status=0
while IFS= read -r file; do
    first_macro=$(grep -n 'Q_OS_' "$file" | head -1 | cut -d: -f1)
    first_qt=$(grep -n '^#include <Q' "$file" | head -1 | cut -d: -f1 || true)
    if [ -z "$first_qt" ] || [ "$first_qt" -gt "$first_macro" ]; then
        echo "$file:$first_macro: tests Q_OS_* before including any Qt header" >&2
        status=1
    fi
done < <(find app about options platform rates tests tools -name '*.cpp' -o -name '*.h' |
         xargs grep -l 'Q_OS_' || true)
exit $status
