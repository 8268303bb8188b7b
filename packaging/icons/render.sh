#!/usr/bin/env bash
# Renders the committed PNG icons from tamzel.svg (package librsvg2-bin). Run it after
# changing the drawing; the build only installs the files.
set -euo pipefail
cd "$(dirname "$0")"
for size in 48 128 256; do
  rsvg-convert -w "$size" -h "$size" tamzel.svg -o "tamzel-$size.png"
done
