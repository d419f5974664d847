#!/usr/bin/env bash
# Fuzzes the file readers with libFuzzer under the address and undefined sanitizers.
#   scripts/fuzz.sh [SECONDS [TARGET...]]   builds build/fuzz with clang, then runs the targets
#                                   named (every one by default) at once for SECONDS (600 by
#                                   default), at the lowest priority.
# Each target starts from the test files of its kind; the corpus grows in build/fuzz/corpus/,
# crash inputs land in build/fuzz/crashes/ and each run's log in build/fuzz/logs/.
# Not part of test.sh: a run takes minutes and both cores.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/dependances.sh
vyk_installer_dependances "${VYK_PAQUETS[@]}" clang libclang-rt-14-dev

duree="${1:-600}"
arbre=build/fuzz
CC=clang CXX=clang++ cmake -S . -B "$arbre" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVYK_SANITIZE=ON \
    -DVYK_FUZZ=ON -DVYK_TESTS=OFF -DVYK_BENCH=OFF >/dev/null
cibles=(fuzz_nomenclature fuzz_referentiel_xml fuzz_referentiel_csv fuzz_taxons_csv fuzz_taxons_xml fuzz_profils
        fuzz_proprietes_integration fuzz_labo_xml fuzz_stations_xml fuzz_points_eau_xml
        fuzz_import_texte fuzz_extrait_code fuzz_analyses_nommees fuzz_trame_1997 fuzz_archive_zip)
if [ "$#" -gt 1 ]; then
    cibles=("${@:2}")
fi
nice -n 19 cmake --build "$arbre" -j2 --target "${cibles[@]}"

donnees=tests/data
graines() {
    case "$1" in
        fuzz_nomenclature) ls "$donnees"/referentiels/*.xml ;;
        fuzz_referentiel_xml) ls "$donnees"/referentiels-analyses/*.xml ;;
        fuzz_referentiel_csv) ls "$donnees"/referentiels-analyses/*.csv ;;
        fuzz_taxons_csv) ls "$donnees"/taxons/*.csv ;;
        fuzz_taxons_xml) ls "$donnees"/taxons/*.xml ;;
        fuzz_profils) ls "$donnees"/profils/* 2>/dev/null || true ;;
        fuzz_proprietes_integration) ls "$donnees"/integration/*.properties 2>/dev/null || true ;;
        fuzz_labo_xml) ls "$donnees"/sandre/labo*.xml ;;
        fuzz_stations_xml) ls "$donnees"/sandre/stations*.xml ;;
        fuzz_points_eau_xml) ls "$donnees"/sandre/points-eau*.xml ;;
        fuzz_import_texte) ls "$donnees"/import/*.csv ;;
        fuzz_extrait_code) ls "$donnees"/import/extrait-code*.csv ;;
        fuzz_analyses_nommees) ls "$donnees"/import/analyses-nommees*.csv ;;
        fuzz_trame_1997) ls "$donnees"/import/trame-1997*.txt ;;
        fuzz_archive_zip) ls "$donnees"/import/*.zip ;;
    esac
    ls "$donnees"/fuzz/"$1"/* 2>/dev/null || true
}

mkdir -p "$arbre"/logs "$arbre"/crashes
pids=()
for c in "${cibles[@]}"; do
    corpus="$arbre/corpus/$c"
    mkdir -p "$corpus"
    graines "$c" | while read -r f; do cp -n "$f" "$corpus/" ; done
    mkdir -p "$arbre/crashes/$c"
    ASAN_OPTIONS=detect_leaks=0:allocator_may_return_null=1 \
        nice -n 19 "$arbre/fuzz/$c" "$corpus" -max_total_time="$duree" -rss_limit_mb=2048 \
        -timeout=20 -max_len=65536 -artifact_prefix="$arbre/crashes/$c/" -print_final_stats=1 \
        >"$arbre/logs/$c.log" 2>&1 &
    pids+=($!)
done
echec=0
for p in "${pids[@]}"; do wait "$p" || echec=1; done
for c in "${cibles[@]}"; do
    echo "== $c"
    grep -E "^#[0-9]+.*(DONE|cov)" "$arbre/logs/$c.log" | tail -1 || true
    grep -E "stat::number_of_executed_units|ERROR|SUMMARY" "$arbre/logs/$c.log" || true
    ls "$arbre/crashes/$c"
done
exit $echec
