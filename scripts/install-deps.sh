#!/usr/bin/env bash
# Installs the Debian 12 packages the project needs, when any is missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-private-dev libqt6sql6-sqlite libqt6sql6-psql libqt6sql6-odbc qt6-tools-dev libgl-dev
  libsqlite3-dev sqlite3 libpq-dev postgresql-15
  libgtest-dev libbenchmark-dev
  xvfb xauth fonts-noto-cjk fonts-wqy-microhei poppler-utils qt6-translations-l10n
  clang libclang-rt-14-dev clang-format
  fet fet-data
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
