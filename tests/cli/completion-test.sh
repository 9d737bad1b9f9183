#!/usr/bin/env bash
# Checks velkctl's bash completion against the velkctl that was built.
#   completion-test.sh COMPLETION_SCRIPT VELKCTL
set -u
source "$1"
velkctl_binary=$2
velkctl() { "$velkctl_binary" "$@"; }

failed=0
expect() {
    local line=$1 expected=$2
    read -ra COMP_WORDS <<<"$line"
    [[ $line == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    _velkctl
    if [[ "${COMPREPLY[*]}" != "$expected" ]]; then
        echo "\"$line\": got \"${COMPREPLY[*]}\", expected \"$expected\""
        failed=1
    fi
}

expect "velkctl " "dump info ir list set simulate"
expect "velkctl ir " "bypass convert gain install preview rename reset show"
expect "velkctl --midi jack ir sh" "show"
expect "velkctl ir show --c" "--channel"
expect "velkctl simulate --mo" "--model"
expect "velkctl list --midi " "auto alsa jack"
expect "velkctl ir install 1 a.wav --channel " "left right"
exit $failed
