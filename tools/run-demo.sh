#!/usr/bin/env bash
# Opens rosterdesk on a demo game folder: installs what is missing, builds the
# default preset (build/default), generates the demo folder if it does not
# exist yet, and starts rosterdesk inside it (the program works on the
# current folder).
#
# Usage: tools/run-demo.sh [FOLDER] [SEED]
#   FOLDER  the game folder (default: demo/ in the repository); generated
#           when absent, kept and reused when present
#   SEED    seed of the generated population (only when generating)
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
folder="$(realpath -m "${1:-$repo/demo}")"
seed="${2:-}"

"$repo/tools/install-deps.sh"
cd "$repo"
cmake --preset default >/dev/null
cmake --build --preset default --target rosterdesk rosterdemo-gen -j"$(nproc)"

if [ ! -d "$folder" ]; then
  echo "generating the demo game in $folder"
  "$repo/build/default/tools/rosterdemo-gen" "$folder" $seed
fi

cd "$folder"
exec "$repo/build/default/src/shell/rosterdesk"
