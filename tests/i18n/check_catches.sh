#!/usr/bin/env bash
# The translation check must fail on a text that the .ts file lacks, and name that text only.
# Usage: check_catches.sh LUPDATE FIXTURE_DIR
set -uo pipefail
here=$(dirname "$0")
out=$("$here/check_translations.sh" "$1" "$2/fixture_de.ts" -locations none "$2")
rc=$?
echo "$out"
[ $rc -eq 1 ] && grep -q 'Text without translation' <<<"$out" \
    && ! grep -q 'Translated text' <<<"$out"
