#!/bin/sh
# Runs every command of the manual page's EXAMPLES, as a reader would type
# it, with the built tarnel-cli; fails on any that does not exit 0.
# Usage: man_page_examples_test.sh PROGRAM PAGE
set -eu
program=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
page=$2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
ln -s "$program" "$work/bin/tarnel-cli"
printf '4k7\n10k\n2.2M\n' >"$work/drawer.txt"

# The commands between .EX and .EE of EXAMPLES, a backslash-newline joined;
# \- is a hyphen and \e a backslash.
commands=$(sed -n '/^\.SH EXAMPLES/,/^\.SH/p' "$page" |
    sed -n '/^\.EX/,/^\.EE/{/^\.E[XE]/!p}' |
    sed -e 's/\\-/-/g' -e 's/\\e/\\/g' |
    awk '/\\$/ { sub(/\\$/, ""); line = line $0; next } { print line $0; line = "" }')
if [ -z "$commands" ]; then
    echo "$page: no example commands" >&2
    exit 1
fi
status=0
while IFS= read -r command; do
    if ! (cd "$work" && PATH="$work/bin:$PATH" sh -c "$command" >/dev/null 2>"$work/stderr"); then
        echo "$page: fails: $command" >&2
        cat "$work/stderr" >&2
        status=1
    fi
done <<END
$commands
END
exit $status
