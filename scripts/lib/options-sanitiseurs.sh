# shellcheck shell=bash
# Sourced by tests.sh and repeter-tests.sh: a leak or undefined behaviour fails the test that
# shows it, whoever runs the sanitizer build. Values already set are kept.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
