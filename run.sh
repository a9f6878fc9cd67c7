#!/usr/bin/env bash
# Sets everything up on Debian 12 and starts Quelvid.
set -euo pipefail
source "$(dirname "$0")/scripts/setup.sh"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found; starting Quelvid on a virtual X server (xvfb-run)."
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$QUELVID_BUILD/quelvid"
fi
exec "$QUELVID_BUILD/quelvid"
