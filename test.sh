#!/usr/bin/env bash
# Installs what is missing, builds, starts a throwaway PostgreSQL cluster and runs every test
# on SQLite and on PostgreSQL. Exits non-zero on any failure; the cluster is stopped whatever
# happens.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/dependances.sh
source scripts/cluster-postgres.sh
source scripts/verifier-format.sh

vyk_installer_dependances "${VYK_PAQUETS[@]}" "${VYK_PAQUETS_TESTS[@]}"
vyk_installer_optionnels "${VYK_PAQUETS_OPTIONNELS_TESTS[@]}"
vyk_verifier_format

PRESET=${VYK_PRESET:-debug}
echo "== Compilation ($PRESET)"
cmake --preset "$PRESET" >/dev/null
cmake --build --preset "$PRESET"

trap vyk_pg_arreter EXIT
vyk_pg_demarrer

echo "== Tests (SQLite et PostgreSQL)"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
ctest --preset "$PRESET" -j "$(nproc)" --no-tests=error
echo "== Tous les tests sont passés."
