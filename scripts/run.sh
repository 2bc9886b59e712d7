#!/usr/bin/env bash
# Installs what is missing (root), builds, and runs Tilora's main job.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
export BUILD_DIR=${BUILD_DIR:-$root/build/release}
"$root/scripts/build.sh" >/dev/null
cli="$BUILD_DIR/native/tools/cli/tilora-cli"
if [ $# -gt 0 ]; then
  exec "$cli" "$@"
fi
echo "Layout of a 40 x 30 cm poster of a 4000 x 3000 picture on A4 at 600 dpi:"
exec "$cli" plan --image 4000x3000 --width 40cm --height 30cm --paper A4 --dpi 600 --preview 600x440
