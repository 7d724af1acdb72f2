#!/usr/bin/env bash
# The translation check must fail on a text that the .ts file lacks and on a text shown through
# a helper that lupdate cannot see (even though the .ts file still translates it), and name
# those texts only.
# Usage: check_catches.sh LUPDATE FIXTURE_DIR
set -uo pipefail
here=$(dirname "$0")
out=$("$here/check_translations.sh" "$1" "$2/fixture_de.ts" -locations none "$2")
rc=$?
echo "$out"
[ $rc -eq 1 ] && grep -q 'Text without translation' <<<"$out" \
    && grep -q "fixture.cpp:[0-9]*: 'Text lupdate never sees'" <<<"$out" \
    && ! grep -q 'Translated text' <<<"$out"
