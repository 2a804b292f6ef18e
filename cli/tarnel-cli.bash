# bash completion for tarnel-cli                           -*- shell-script -*-
# Option names come from the program's own --help when completing, so that
# they follow the program as it gains options; values are completed for the
# options that take a word from a fixed set, a comma list or a file name.

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
            --format)
                COMPREPLY=($(compgen -W 'text csv json' -- "$cur"))
                return
                ;;
            --ratio)
                COMPREPLY=($(compgen -W '1+h/l h/l' -- "$cur"))
                return
                ;;
            --hi | --lo)
                _tarnel_cli_shapes
                return
                ;;
            --series)
                COMPREPLY=($(compgen -W 'E3 E6 E12 E24 E48 E96 E192' -- "$cur"))
                return
                ;;
            --order)
                COMPREPLY=($(compgen -W 'found best' -- "$cur"))
                return
                ;;
            --values | --output)
                _filedir
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
