# bash completion for velquior-convert: its commands, each command's
# options, and the files each one reads.

_velquior_convert() {
    local cur prev words cword
    _init_completion || return

    local commands='export import check dump history restore --help --version'
    if ((cword == 1)); then
        COMPREPLY=($(compgen -W "$commands" -- "$cur"))
        return
    fi

    case $prev in
        --workdir)
            _filedir -d
            return
            ;;
        --decimal-separator)
            COMPREPLY=($(compgen -W ", ." -- "$cur"))
            return
            ;;
    esac

    local options file_ext=
    case ${words[1]} in
        export) options='--workdir --decimal-separator --keep-codes --no-history' file_ext=xml ;;
        import) options='--workdir --decimal-separator --no-history' file_ext=xml ;;
        check) options='--workdir --decimal-separator --json --keep-codes' file_ext=xml ;;
        dump) options='--json' file_ext=dbf ;;
        history) options='--json' ;;
        *) return ;;
    esac

    if [[ $cur == -* || -z $file_ext ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi
    # The extension in either case: Zeltimor's tables are upper case.
    _filedir "@(${file_ext}|${file_ext^^})"
} &&
    complete -F _velquior_convert velquior-convert
