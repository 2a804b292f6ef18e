# bash completion for tarnel-cli                           -*- shell-script -*-
# Option names, and the words of options that take one of a set, come from
# the program's own --help when completing, so that they follow the program
# as it gains options; shapes and file names are completed here.

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
            --values)
                _filedir
                return
                ;;
        esac
        # An option whose value is one of a set, as --help writes it: --order found|best.
        local words
        words=$(LC_ALL=C "$1" --help 2>/dev/null |
            sed -nE "s/^[[:space:]]*$prev[[:space:]]+([^[:space:]]*[|][^[:space:]]*).*/\1/p")
        if [[ -n $words ]]; then
            COMPREPLY=($(compgen -W "${words//|/ }" -- "$cur"))
            return
        fi
    fi
    $split && return

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
    fi
} &&
    complete -F _tarnel_cli tarnel-cli

# ex: filetype=sh
