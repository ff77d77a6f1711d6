#!/usr/bin/env bash
# Starts the program from BUILD_DIR. Until the desktop program is built, decodes a sample report.
set -euo pipefail
build=${1:-build/default}
root=$(cd "$(dirname "$0")/.." && pwd)
printf '2010/05/12 12:25\nEHAM 121225Z 24012KT 9999 FEW020 12/08 Q1013 NOSIG\n' |
    "$build/nimbrel-cli" decode --offset 2 --utc-now 2010-05-12T13:00
