#!/bin/bash
# SPDX-License-Identifier: MIT
# Loads bash-completion and the completion of kelvane-cli as bash does, and
# checks what it offers: the commands, each command's options against what
# kelvane-cli COMMAND --help lists, the model names against what convert
# accepts, and project files and folders where a path goes.
#
# bash_completion_test.sh COMPLETION_FILE KELVANE_CLI WORK_DIR
set -u
completion=$1 cli=$2 work=$3

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

framework=/usr/share/bash-completion/bash_completion
[ -r "$framework" ] || { echo "FAIL: no $framework (bash-completion)" >&2; exit 1; }
# shellcheck source=/dev/null
. "$framework"
# shellcheck source=/dev/null
. "$completion"
complete -p kelvane-cli >/dev/null 2>&1 || { echo "FAIL: $completion registers no completion" >&2; exit 1; }

# The offers for the command line WORD..., the last word the one being
# completed, one a line, sorted.
offers() {
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    # Words are apart, but not around the "=" bash splits --to=NAME at.
    COMP_LINE=""
    local i
    for ((i = 0; i < ${#COMP_WORDS[@]}; i++)); do
        if [ "$i" -gt 0 ] && [ "${COMP_WORDS[i]}" != = ] && [ "${COMP_WORDS[i - 1]}" != = ]; then
            COMP_LINE+=" "
        fi
        COMP_LINE+=${COMP_WORDS[i]}
    done
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _kelvane_cli kelvane-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    if [ ${#COMPREPLY[@]} -gt 0 ]; then
        printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort
    fi
}

# expect WANTED WORD...: the offers are exactly WANTED (words apart by spaces,
# "\ " being a space within one; "-" for none).
expect() {
    local wanted=$1
    shift
    local got want
    got=$(offers "$@")
    if [ "$wanted" = - ]; then
        want=""
    else
        want=$(echo "$wanted" | sed 's/\([^\\]\) /\1\n/g' | LC_ALL=C sort)
    fi
    if [ "$got" != "$want" ]; then
        fail "'$*' offers [$(echo $got)], not [$(echo $want)]"
    fi
}

commands="check convert models save set show usb"
expect "$commands --help --version" kelvane-cli ""
expect "check convert" kelvane-cli c
expect "save set show" kelvane-cli s
expect "--help --version" kelvane-cli --
expect - kelvane-cli x

# Each command's options are the ones its help lists, no more, no fewer.
for command in $commands; do
    listed=$("$cli" "$command" --help 2>&1 | sed -n 's/^  *\(-[a-z],\)\{0,1\}\(--[a-z][a-z-]*\).*/\2/p' |
        LC_ALL=C sort -u)
    [ -n "$listed" ] || { fail "kelvane-cli $command --help lists no option"; continue; }
    got=$(offers kelvane-cli "$command" --)
    [ "$got" = "$listed" ] ||
        fail "$command: offered [$(echo $got)], its help lists [$(echo $listed)]"
done
expect "--force --frd --frd-to-mpv-dir" kelvane-cli convert a.fsp --f
expect "--mcs --mcs-ip --mcs-port --mci" kelvane-cli set a.fsp --mc

# The model names: the ones convert --help names, each accepted by --to.
help_models=$("$cli" convert --help 2>&1 | tr '\n' ' ' |
    sed -n 's/.*the model to convert to: *\(.*\)  *--direction.*/\1/p' | sed 's/  */ /g; s/ *$//')
[ -n "$help_models" ] || fail "convert --help names no models"
offered=$(offers kelvane-cli convert a.fsp --to "")
[ "$(echo "$offered" | wc -l)" -eq 5 ] || fail "--to offers [$(echo $offered)], not five models"
while IFS= read -r quoted; do
    name=${quoted//\\ / }
    case " $help_models" in
    *" $name, "* | *" $name or "* | *" $name") ;;
    *) fail "--to offers '$name', which convert --help ($help_models) does not name" ;;
    esac
    if "$cli" convert "$work/missing.fsp" --to "$name" 2>&1 | grep -q "unknown ICE model"; then
        fail "kelvane-cli does not take --to '$name'"
    fi
done <<<"$offered"
"$cli" convert "$work/missing.fsp" --to talvexNONE 2>&1 | grep -q "unknown ICE model" ||
    fail "kelvane-cli takes an unknown model, so the check above proves nothing"
# A name with a space is offered quoted, so that it stays one word.
expect 'talvexVEGA talvexVEGA\ II' kelvane-cli convert a.fsp --to talvexV
expect 'talvexVEGA\ II' kelvane-cli convert a.fsp --to 'talvexVEGA\ '
expect talvexMAX kelvane-cli convert a.fsp --to talvexM
expect talvexMAX kelvane-cli convert a.fsp --to = talvexM

# Fixed values.
expect "ether usb" kelvane-cli set a.fsp --device ""
expect "off on" kelvane-cli convert a.fsp --mcs o
expect "0 1 2 3 4 5 6 7 8 9" kelvane-cli convert a.fsp --direction ""
expect - kelvane-cli set a.fsp --ip ""
expect - kelvane-cli set a.fsp --model ""

# Paths: projects (.fsp, any case) and folders where a project goes, folders
# alone for --out-dir, any file for --report.
rm -rf "$work"
mkdir -p "$work/projects/sub"
: >"$work/projects/demo.fsp"
: >"$work/projects/OLD.FSP"
: >"$work/projects/notes.txt"
cd "$work/projects" || exit 1
expect "OLD.FSP demo.fsp sub" kelvane-cli show ""
expect "OLD.FSP demo.fsp sub" kelvane-cli convert demo.fsp ""
expect "demo.fsp" kelvane-cli save d
expect "OLD.FSP demo.fsp sub" kelvane-cli save demo.fsp --as ""
expect "sub" kelvane-cli convert demo.fsp --out-dir ""
expect "OLD.FSP demo.fsp notes.txt sub" kelvane-cli check demo.fsp --report ""
expect - kelvane-cli usb ""
expect - kelvane-cli models ""

if [ "$failures" -ne 0 ]; then
    echo "$failures completion checks failed" >&2
    exit 1
fi
echo "bash completion of kelvane-cli: all checks passed"
