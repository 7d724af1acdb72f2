#!/usr/bin/env bash
# Fails when a text in the sources has no finished translation in a .ts file. lupdate reads the
# sources into a copy of the file, so texts new in the sources show up as unfinished there; every
# unfinished or empty translation is listed with its source text. It also fails when a text is
# shown through a translation call that lupdate cannot see, such as a local helper taking the
# text as a parameter: every string literal passed to a translation call or helper must be a
# message that lupdate extracted (check_extracted.py).
# Usage: check_translations.sh LUPDATE TS_FILE LUPDATE_ARGUMENTS...
set -euo pipefail
lupdate=$1 ts=$2
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$ts" "$work/check.ts"
"$lupdate" -silent "$@" -ts "$work/check.ts" >/dev/null
missing=$(awk '
    /<source>/ { text = $0; sub(/.*<source>/, "", text); sub(/<\/source>.*/, "", text) }
    /<translation type="unfinished"|<translation><\/translation>|<translation\/>|<numerusform><\/numerusform>/ {
        print "  " text
    }' "$work/check.ts")
total=$(grep -c '<message' "$work/check.ts" || true)
failed=0
if [ -n "$missing" ]; then
    echo "$(wc -l <<<"$missing") of $total texts in $(basename "$ts") have no finished translation:"
    echo "$missing"
    failed=1
fi
# A plural-only catalogue (-pluralonly) holds the texts with a count alone; the others are
# checked with the full catalogue.
case " $* " in
*" -pluralonly "*) ;;
*) python3 "$(dirname "$0")/check_extracted.py" "$work/check.ts" "$@" || failed=1 ;;
esac
[ $failed -eq 0 ] || exit 1
echo "all $total texts in $(basename "$ts") are translated"
