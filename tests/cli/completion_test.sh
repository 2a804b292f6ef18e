#!/usr/bin/env bash
# Runs the bash completion of tarnel-cli on command lines and checks what it
# offers: the option names of the program's --help, and the values of the
# options that take a word from a set, a comma list or a file name, and a
# resistance's multipliers.
# Usage: completion_test.sh PROGRAM COMPLETION_SCRIPT
set -u
program=$1
source /usr/share/bash-completion/bash_completion
source "$2"
# compopt works only while bash itself completes; its effect is not tested.
compopt() { :; }

status=0
# expect "OFFERS" WORD...: completes the last word of the command line
# PROGRAM WORD... (words split as bash splits them) and compares the sorted offers.
expect() {
    local want=$1
    shift
    COMP_WORDS=("$program" "$@")
    COMP_CWORD=$#
    COMP_LINE="$program $*"
    COMP_LINE=${COMP_LINE// = /=} # as typed: bash splits --opt=value at the "="
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _tarnel_cli "$program" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    local got
    got=$(printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | xargs)
    if [[ $got != "$want" ]]; then
        echo "tarnel-cli $*: offered \"$got\", expected \"$want\"" >&2
        status=1
    fi
}

help=$(LC_ALL=C "$program" --help)
options=$(sed -nE 's/^[[:space:]]*(--[a-z-]+).*/\1/p' <<<"$help" | LC_ALL=C sort | xargs)
[[ -n $options ]] || { echo "found no options in $program --help" >&2; exit 1; }
expect "$options" --
expect "--rmax --rmin" --uin 12 --rm
expect "csv json text" --format ''
expect "json" --format = j
expect "h/l" --ratio h
expect "1,par 1,ser" --hi 1,
expect "ser,par" --lo ser,p
expect "" --uin ''
expect "47M 47R 47k" --rmax 47
expect "" --rmin 4k

expect "E12 E192" --series E1
expect "best found" --order ''
expect "worst-case" --criterion w
exit $status
