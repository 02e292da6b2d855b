#!/usr/bin/env bash
# Installs, builds and runs every test. Each test runs in a network namespace that holds
# only loopback (scripts/isole.sh), so nothing leaves the machine.
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
bash "$racine/scripts/install-deps.sh"
bash "$racine/scripts/construire.sh"
cd "$racine/build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
