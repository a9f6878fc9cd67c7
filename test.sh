#!/usr/bin/env bash
# Sets everything up on Debian 12 and runs every test.
set -euo pipefail
source "$(dirname "$0")/scripts/setup.sh"
ctest --test-dir "$QUELVID_BUILD" --output-on-failure "$@"
