#!/bin/sh
# Fails when tarnel-cli --help lists an option that its manual page lacks,
# so that a new option cannot ship undocumented.
# Usage: man_page_options_test.sh PROGRAM PAGE
set -eu
program=$1
page=$2

help=$(LC_ALL=C "$program" --help)
options=$(printf '%s\n' "$help" | sed -nE 's/^[[:space:]]*(--[a-z-]+).*/\1/p')
if [ -z "$options" ]; then
    echo "found no options in the output of $program --help" >&2
    exit 1
fi

# The page as it reads: \- is a hyphen, and font changes (\fB, \f(CW, \f[B]) vanish.
text=$(sed -E -e 's/\\-/-/g' -e 's/\\f(\[[^]]*\]|\(..|.)//g' "$page")
status=0
for option in $options; do
    if ! printf '%s\n' "$text" | grep -Eq -- "(^|[^a-z-])$option([^a-z-]|\$)"; then
        echo "$page: no $option, which tarnel-cli --help lists" >&2
        status=1
    fi
done
exit $status
