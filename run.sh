#!/usr/bin/env bash
# Installs what the program needs, builds it and starts it on its embedded default database.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
scripts/build.sh
exec build/lbsys "$@"
