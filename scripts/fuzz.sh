#!/usr/bin/env bash
# Builds the frame decoder's fuzzer with clang and runs it for a number of seconds
# (first argument, 600 by default) on a scratch copy of the seed corpus.
# Prints the executions, speed, coverage and any input that made it fail.
set -euo pipefail
duree=${1:-600}
racine=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$racine/build-fuzz}
cible=$build/tests/fuzz/fuzz_trame
mkdir -p "$build"

CXX=clang++ cmake -S "$racine" -B "$build" -DVELLOR_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ \
    -DVELLOR_SANITISEURS=address,undefined >"$build/configuration.log" 2>&1 \
    || { echo "configuration impossible (voir $build/configuration.log)" >&2; exit 1; }
cmake --build "$build" --target fuzz_trame -j2

travail=$(mktemp -d /tmp/fuzz-trame.XXXXXX)
mkdir "$travail/corpus" "$travail/trouvailles"
cp "$racine"/tests/fuzz/corpus/* "$travail/corpus/"
echo "dossier de travail : $travail"

set +e
(cd "$travail" && "$cible" corpus -dict="$racine/tests/fuzz/trame.dict" \
    -max_total_time="$duree" -print_final_stats=1 -max_len=4096 \
    -artifact_prefix=trouvailles/) >"$travail/fuzz.log" 2>&1
code=$?
set -e

grep -E '^#[0-9]+.*(INITED|DONE|pulse)' "$travail/fuzz.log" | tail -n 3
grep -E '^stat::' "$travail/fuzz.log" || true
trouvailles=$(ls "$travail/trouvailles")
if [ -n "$trouvailles" ]; then
    echo "trouvailles (code de sortie du fuzzer : $code) :"
    for f in $trouvailles; do echo "  $travail/trouvailles/$f"; done
    grep -E 'ERROR|SUMMARY|runtime error' "$travail/fuzz.log" | head -n 20
else
    echo "trouvailles : aucune (code de sortie du fuzzer : $code)"
fi
echo "corpus : $(ls "$travail/corpus" | wc -l) entrées ; journal complet : $travail/fuzz.log"
exit "$code"
