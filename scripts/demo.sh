#!/usr/bin/env bash
# Starts the test host frmKbTz on the sample school (build/bin/qx_lm.db, made
# by the build). Without a display it runs under a virtual X server, chooses
# the first class, right-clicks its Monday first-period lesson, saves a
# screenshot and prints its path.
set -euo pipefail
cd "$(dirname "$0")/.."

db=build/bin/qx_lm.db
[ -f "$db" ] || build/bin/kbtz-gen --sample "$db"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/bin/frmKbTz
fi
shot=$PWD/build/frmKbTz.png
xvfb-run -a -s "-screen 0 1280x800x24" build/bin/frmKbTz --pick-class 0 --rclick 1 1 --screenshot "$shot"
