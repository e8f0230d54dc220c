# bash completion of the tavo command. The commands and their options are
# taken from tavo's own help, so that they never go out of step with it.
_tavo() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
    if [ "$COMP_CWORD" -eq 1 ]; then
        COMPREPLY=($(compgen -W "$(tavo --help 2>/dev/null | awk '/^  [a-z]+ / {print $1}') help --version" -- "$cur"))
        return
    fi
    local command=${COMP_WORDS[1]}
    case $prev in
        --to) COMPREPLY=($(compgen -W "jwc jww jwt dxf clipboard preview" -- "$cur")); return ;;
        --paper) COMPREPLY=($(compgen -W "A0 A1 A2 A3 A4" -- "$cur")); return ;;
        --dxf) COMPREPLY=($(compgen -W "jw 2000 2018" -- "$cur")); return ;;
        --encoding) COMPREPLY=($(compgen -W "sjis utf8" -- "$cur")); return ;;
        --units) COMPREPLY=($(compgen -W "world sheet" -- "$cur")); return ;;
        --sheet) COMPREPLY=($(compgen -W "all" -- "$cur")); return ;;
        -o|--settings) COMPREPLY=($(compgen -f -- "$cur")); return ;;
    esac
    if [ "$command" = config ] && [ "$COMP_CWORD" -eq 2 ]; then
        COMPREPLY=($(compgen -W "get set --json" -- "$cur"))
        return
    fi
    if [ "$command" = config ] && [ "$COMP_CWORD" -eq 3 ]; then
        COMPREPLY=($(compgen -W "$(tavo config 2>/dev/null | sed -n 's/^\([A-Za-z0-9]*\)=.*/\1/p' | grep -v '^Folder$\|^Source$')" -- "$cur"))
        return
    fi
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$(tavo help "$command" 2>/dev/null | grep -o -- '--*[a-z][a-z0-9-]*' | sort -u)" -- "$cur"))
        return
    fi
    COMPREPLY=($(compgen -f -- "$cur"))
}
complete -o filenames -F _tavo tavo
