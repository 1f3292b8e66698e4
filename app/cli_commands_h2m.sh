#!/bin/sh
# Writes a help2man include file with a COMMANDS section: each subcommand of kestrin-cli
# with its own --help, so that the manual page lists every command's options.
# Usage: cli_commands_h2m.sh KESTRIN_CLI STATIC_INCLUDE OUTPUT
set -eu
cli=$1
{
    echo "[COMMANDS]"
    "$cli" --help | sed -n '/^Subcommands:/,$s/^  \([a-z][a-z-]*\) .*/\1/p' | while read -r command; do
        echo ".SS $command"
        echo ".nf"
        # roff: a backslash is written \e; a line may not begin with a control character.
        "$cli" "$command" --help | sed -e 's/\\/\\e/g' -e "s/^[.']/\\\\\&&/"
        echo ".fi"
    done
    echo
    cat "$2"
} > "$3"
