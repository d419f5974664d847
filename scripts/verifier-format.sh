#!/usr/bin/env bash
# Fails when a C++ file of the project differs from what clang-format gives with the project's
# .clang-format. Sourced by test.sh; run alone it checks, and `--corriger` rewrites the files.
# Data tables are fenced with "// clang-format off" / "// clang-format on".

vyk_fichiers_cpp() {
    git ls-files --cached --others --exclude-standard -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h' \
        'fuzz/*.cpp' 'fuzz/*.h'
}

vyk_verifier_format() {
    local fichiers sortie
    mapfile -t fichiers < <(vyk_fichiers_cpp)
    [ "${#fichiers[@]}" -gt 0 ] || return 0
    if ! sortie=$(clang-format --dry-run --Werror "${fichiers[@]}" 2>&1); then
        echo "== Mise en forme : ces fichiers diffèrent de .clang-format" \
            "(scripts/verifier-format.sh --corriger les réécrit) :" >&2
        grep -o '^[^:]*:[0-9]*:[0-9]*: error' <<<"$sortie" | cut -d: -f1 | sort -u >&2
        return 1
    fi
    echo "== Mise en forme : conforme"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    set -euo pipefail
    cd "$(dirname "${BASH_SOURCE[0]}")/.."
    if [ "${1:-}" = "--corriger" ]; then
        vyk_fichiers_cpp | xargs clang-format -i
    else
        vyk_verifier_format
    fi
fi
