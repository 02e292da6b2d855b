#!/usr/bin/env bash
# Builds the frame decoder's fuzzer with clang and runs it for a number of seconds
# (first argument, 600 by default) on a scratch copy of the seed corpus.
# Prints the executions, speed, coverage and any input that made it fail.
set -euo pipefail
duree=${1:-600}
racine=$(cd "$(dirname "$0")/.." && pwd)
build=$racine/build-fuzz
cible=$build/tests/fuzz/fuzz_trame
mkdir -p "$build"

# The whole project when it configures; otherwise the fuzz folder alone.
if CXX=clang++ cmake -S "$racine" -B "$build" -DVELLOR_FUZZ=ON \
        -DCMAKE_CXX_COMPILER=clang++ >"$build/configuration.log" 2>&1; then
    cmake --build "$build" --target fuzz_trame -j2
else
    echo "project does not configure (see $build/configuration.log): building tests/fuzz alone"
    cible=$build/seul/fuzz_trame
    cmake -S "$racine/tests/fuzz" -B "$build/seul" -DCMAKE_CXX_COMPILER=clang++ >/dev/null
    cmake --build "$build/seul" -j2
fi

travail=$(mktemp -d /tmp/fuzz-trame.XXXXXX)
mkdir "$travail/corpus" "$travail/trouvailles"
cp "$racine"/tests/fuzz/corpus/* "$travail/corpus/"
echo "scratch folder: $travail"

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
    echo "findings (fuzzer exit code $code):"
    for f in $trouvailles; do echo "  $travail/trouvailles/$f"; done
    grep -E 'ERROR|SUMMARY|runtime error' "$travail/fuzz.log" | head -n 20
else
    echo "findings: none (fuzzer exit code $code)"
fi
echo "corpus grown to $(ls "$travail/corpus" | wc -l) inputs; full log: $travail/fuzz.log"
exit "$code"
