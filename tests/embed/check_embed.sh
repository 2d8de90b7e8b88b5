#!/bin/sh
# Installs QxMavoWin to a temporary prefix, builds examples/embed-host against
# the installed package (find_package(QxMavoWin), one target) and starts it
# offscreen on a sample database.
#
#   tests/embed/check_embed.sh [BUILD_DIR]
#
# With BUILD_DIR (an already built tree of this project) it installs from
# there; without, it configures and builds the libraries in a temporary tree.
set -eu

src=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/kbtz-embed.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM
jobs=${KBTZ_JOBS:-2}

if [ $# -ge 1 ]; then
  build=$(cd "$1" && pwd)
else
  build=$work/build
  cmake -S "$src" -B "$build" -DKBTZ_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=Release >"$work/configure.log" \
    || { cat "$work/configure.log"; exit 1; }
fi
targets="qxmavowin_widget"
designer=no
if cmake --build "$build" --target help 2>/dev/null | grep -q qxmavowin_designer; then
  designer=yes
  targets="$targets qxmavowin_designer"
fi
# shellcheck disable=SC2086
cmake --build "$build" -j"$jobs" --target $targets >"$work/build.log" || { tail -50 "$work/build.log"; exit 1; }

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" --component qxmavowin >"$work/install.log" \
  || { cat "$work/install.log"; exit 1; }
test -f "$prefix/include/qxmavowin/qxmavowin_widget.h"
# Only the public headers are installed, and they include nothing else of ours.
others=$(find "$prefix/include" -type f ! -path "$prefix/include/qxmavowin/*.h"; find "$prefix/include/qxmavowin" -mindepth 1 -type d)
[ -z "$others" ] || { echo "check_embed: installed beyond the public headers: $others" >&2; exit 1; }
if grep -h '#include "' "$prefix"/include/qxmavowin/*.h | grep -v '#include "qxmavowin/'; then
  echo "check_embed: a public header includes a private one" >&2; exit 1
fi
if grep -h '#include [<"]' "$src"/examples/embed-host/*.cpp | grep -v -E '#include <(qxmavowin/|Q|c|std)'; then
  echo "check_embed: the example includes more than the public headers" >&2; exit 1
fi
config=$(find "$prefix" -name QxMavoWinConfig.cmake | head -n 1)
test -n "$config" || { echo "check_embed: no QxMavoWinConfig.cmake installed" >&2; exit 1; }
if [ $designer = yes ]; then
  find "$prefix" -path '*plugins/designer/*qxmavowin_designer*' | grep -q . \
    || { echo "check_embed: the Designer plugin was not installed" >&2; exit 1; }
fi

# The example knows nothing of this source tree: only the prefix.
cmake -S "$src/examples/embed-host" -B "$work/example" -DCMAKE_PREFIX_PATH="$prefix" >"$work/example.log" \
  || { cat "$work/example.log"; exit 1; }
cmake --build "$work/example" -j"$jobs" >>"$work/example.log" || { tail -50 "$work/example.log"; exit 1; }

# A sample database: the generator's when it is built, else the widget tests' school.
db=$work/qx_lm.db
if [ -x "$build/bin/kbtz-gen" ]; then
  "$build/bin/kbtz-gen" --sample "$db" >/dev/null
else
  sqlite3 "$db" <"$src/data/schema-sqlite.sql"
  sqlite3 "$db" <"$src/tests/widget/data/school.sql"
fi

out=$(QT_QPA_PLATFORM=offscreen "$work/example/embed-host" --quit-after-init "$db")
echo "$out"
case $out in
  "QxIni done: "*" periods, "*) ;;
  *) echo "check_embed: the embedded control did not start" >&2; exit 1 ;;
esac
echo "check_embed: OK"
