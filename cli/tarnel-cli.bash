# bash completion for tarnel-cli                           -*- shell-script -*-
# Option names, and what each option's value is, come from the program's own
# --help when completing, so that they follow the program as it gains
# options: the words of a set, a resistance's multipliers after its digits;
# shapes and file names are completed here.

# The comma list of arm shapes in $cur: offers the shapes not yet in it.
_tarnel_cli_shapes()
{
    local done=${cur%"${cur##*,}"} shape shapes=()
    for shape in 1 ser par; do
        [[ ,$done == *,"$shape",* ]] || shapes+=("$shape")
    done
    COMPREPLY=($(compgen -P "$done" -W "${shapes[*]}" -- "${cur##*,}"))
    # A list may go on after a comma.
    compopt -o nospace
}

_tarnel_cli()
{
    local cur prev words cword split
    _init_completion -s || return

    local options
    options=$(_parse_help "$1")

    # Values only for options this tarnel-cli lists.
    if [[ $'\n'$options$'\n' == *$'\n'"$prev"$'\n'* ]]; then
        case $prev in
            --hi | --lo)
                _tarnel_cli_shapes
                return
                ;;
            --values | --output)
                _filedir
                return
                ;;
        esac
        # The value's name in --help: one of a set (found|best), or K for a
        # resistance in kilo-ohms from 0.001 (1 ohm), which may be written as
        # a part is marked: digits go on with a multiplier, as in 240R, 4k7, 1M5.
        local value
        value=$(LC_ALL=C "$1" --help 2>/dev/null | sed -nE "s/^[[:space:]]*$prev[[:space:]]+([^[:space:]]+).*/\1/p")
        case $value in
            *'|'*)
                COMPREPLY=($(compgen -W "${value//|/ }" -- "$cur"))
                return
                ;;
            K)
                if [[ $cur =~ ^[0-9]+$ ]]; then
                    COMPREPLY=("${cur}R" "${cur}k" "${cur}M")
                    compopt -o nospace
                fi
                return
                ;;
        esac
    fi
    $split && return

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
    fi
} &&
    complete -F _tarnel_cli tarnel-cli

# ex: filetype=sh
