#!/bin/sh
# Fails when a manual page has drifted from tarnel-cli --help: an option of
# --help missing from tarnel-cli(1), or, in either page, another range,
# default or list of choices than --help gives.
# Usage: man_page_options_test.sh PROGRAM CLI_PAGE WINDOW_PAGE
set -eu
program=$1
cli_page=$2
window_page=$3

# One line an option: name, value name, description, however --help wraps it.
options=$(LC_ALL=C "$program" --help | awk '
    /^  --/ { if (line != "") print line; line = $0; next }
    /^      / && line != "" { line = line " " $0; next }
    { if (line != "") print line; line = "" }
    END { if (line != "") print line }' |
    sed -E 's/^ +(--[a-z-]+) *([^ ]*)  +(.*)$/\1\t\2\t\3/; s/ +/ /g')
if [ -z "$options" ]; then
    echo "found no options in the output of $program --help" >&2
    exit 1
fi

# A page as it reads, a paragraph a line, its tags (.TP, .TQ) first: \- is
# a hyphen, and font changes, quotes and requests vanish.
paragraphs() {
    sed -E -e 's/\\-/-/g' -e 's/\\f(\[[^]]*\]|\(..|.)//g' "$1" |
        awk '/^\.(TP|SH|SS|PP|IP)/ { print line; line = ""; next }
             /^\.TQ/ { next }
             { sub(/^\.[A-Z]+ /, ""); gsub(/"/, ""); line = line " " $0 }
             END { print line }' | tr -s ' '
}
cli_text=$(paragraphs "$cli_page")
window_text=$(paragraphs "$window_page")

status=0
drift() {
    echo "$1: $2" >&2
    status=1
}
tab=$(printf '\t')
while IFS="$tab" read -r option value description; do
    entry=$(printf '%s\n' "$cli_text" | grep -E -- "^( --[a-z-]+ [A-Z]+)* $option( |$)" || true)
    if [ -z "$entry" ]; then
        drift "$cli_page" "no entry for $option, which --help lists"
        continue
    fi
    case $value in
    *'|'*) printf '%s\n' "$entry" | grep -qF -- "$option $value" ||
        drift "$cli_page" "$option does not take $value as --help says" ;;
    esac
    range=$(printf '%s\n' "$description" | sed -nE 's/.*, ([0-9.]+ to [0-9.]+) \(default.*/\1/p')
    default=$(printf '%s\n' "$description" | sed -nE 's/.*\(default ([^)]*)\)$/\1/p')
    for page in "$cli_page" "$window_page"; do
        if [ "$page" = "$window_page" ]; then
            # The window's fields carry the option's name; only number fields have a range.
            [ -n "$range" ] || continue
            entry=$(printf '%s\n' "$window_text" | grep -F -- "($option)" || true)
            [ -n "$entry" ] || { drift "$page" "no field for $option"; continue; }
        fi
        if [ -n "$range" ] && ! printf '%s\n' "$entry" | grep -qF -- " $range"; then
            drift "$page" "$option does not say $range, as --help does"
        fi
        if [ -n "$default" ] && ! printf '%s\n' "$entry" | grep -qiF -- "Default: $default."; then
            drift "$page" "$option does not say Default: $default, as --help does"
        fi
    done
done <<END
$options
END
exit $status
