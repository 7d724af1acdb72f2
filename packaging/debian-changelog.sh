#!/usr/bin/env bash
# Writes the Debian changelog of the package, compressed, from CHANGELOG.md: one entry per
# "## <version> (<YYYY-MM-DD>)" heading, its bullet points as the entry's changes.
# Usage: debian-changelog.sh CHANGELOG_MD PACKAGE MAINTAINER OUTPUT_GZ
set -euo pipefail
changelog=$1 package=$2 maintainer=$3 output=$4
entries=$(LC_ALL=C awk -v package="$package" -v maintainer="$maintainer" '
    function close_entry() {
        if (version == "") return
        cmd = "LC_ALL=C date -u -R -d " date
        cmd | getline stamp
        close(cmd)
        printf "\n -- %s  %s\n\n", maintainer, stamp
    }
    /^## / {
        close_entry()
        if (!match($0, /^## [^ ]+ \([0-9]+-[0-9]+-[0-9]+\)$/)) {
            print "CHANGELOG.md: bad heading: " $0 > "/dev/stderr"; exit 1
        }
        version = $2; date = $3; gsub(/[()]/, "", date)
        printf "%s (%s) unstable; urgency=medium\n\n", package, version
        next
    }
    version == "" || /^[[:space:]]*$/ { next }
    /^- / { print "  * " substr($0, 3); next }
    /^  / { print "    " substr($0, 3); next }
    { print "CHANGELOG.md: not a bullet point: " $0 > "/dev/stderr"; exit 1 }
    END { close_entry() }
' "$changelog")
printf '%s\n' "$entries" | gzip -9n >"$output"
