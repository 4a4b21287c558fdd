#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the demo need.
# Quick when everything is already there: apt-get runs only for missing packages.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config git
  qt6-base-dev libqt6sql6-sqlite qt6-translations-l10n fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev
  libsqlite3-dev sqlite3 libxlsxwriter-dev
  clang libclang-rt-14-dev
  libreoffice-calc poppler-utils
)
# bench/run: PostgreSQL 15 (its server binaries under /usr/lib/postgresql/15/bin) and libpq for the anchors.
[ "${MORVEX_WITH_BENCH_DEPS:-0}" = 1 ] && packages+=(postgresql-15 libpq-dev)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=300 update -qq
"${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=300 install -y -qq --no-install-recommends "${missing[@]}"
