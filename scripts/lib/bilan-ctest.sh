# shellcheck shell=bash disable=SC2034 # sets variables for the script that sources it
# Sourced by tests.sh and repeter-tests.sh, not run: reads the output of one ctest run.
# bilan_ctest JOURNAL sets reussis, echoues, sautes (skipped tests, not counted as passed)
# and noms_echoues (the failed tests' names, space-separated); returns 1 when the output
# has no summary line (ctest stopped, or found no test).
bilan_ctest() {
    local resume total
    # "97% tests passed, 3 tests failed out of 120": skipped tests count among the passed.
    resume=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' "$1" | tail -1)
    [ -n "$resume" ] || return 1
    total=${resume##* }
    echoues=$(sed -E 's/.* ([0-9]+) tests failed.*/\1/' <<<"$resume")
    sautes=$(sed -n '/^The following tests did not run:/,/^$/p' "$1" | grep -c '(Skipped)')
    reussis=$((total - echoues - sautes))
    # "	  3 - tst_trame (Failed)", "	 12 - tst_cadre (Timeout)"
    noms_echoues=$(sed -n '/^The following tests FAILED:/,/^$/p' "$1" |
        sed -nE 's/^[[:space:]]*[0-9]+ - ([^ ]+) .*/\1/p' | tr '\n' ' ')
    noms_echoues=${noms_echoues% }
}
