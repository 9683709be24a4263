#!/usr/bin/env bash
# Checks the shape of the code: no source file over 400 lines, and no
# function over 40 lines (between its braces, which stand at the start of
# a line).
set -euo pipefail
cd "$(dirname "$0")/.."
status=0
files=$(git ls-files '*.cpp' '*.h' '*.c' 2>/dev/null || find . -name '*.cpp' -o -name '*.h' -o -name '*.c')
for file in $files; do
    lines=$(wc -l <"$file")
    if [ "$lines" -gt 400 ]; then
        echo "$file: $lines lines"
        status=1
    fi
    awk -v file="$file" '
        # A brace that opens a class, a struct or a table is no function.
        /^\{/ { start = previous ~ /^(class|struct|enum|union|namespace|typedef)|[=,]$/ ? 0 : FNR }
        /^\}/ && start { if (FNR - start - 1 > 40) { printf "%s:%d: a function of %d lines\n", file, start, FNR - start - 1; bad = 1 } start = 0 }
        { previous = $0 }
        END { exit bad }' "$file" || status=1
done
[ $status -eq 0 ] && echo "no file over 400 lines, no function over 40"
exit $status
