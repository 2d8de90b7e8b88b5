#!/usr/bin/env bash
# Creates the sample database next to the programs and shows the control's
# start-up on it through the scripting driver.
set -euo pipefail
cd "$(dirname "$0")/.."

db=build/bin/qx_lm.db
[ -f "$db" ] || build/bin/kbtz-gen --sample "$db"
printf 'ini 2005-2006 2 课表 1\ndump\n' | build/bin/kbtz-drive --db "$db"
