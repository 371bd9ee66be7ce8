#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the board icon's PNG sizes from src/ui/art/board.svg. Run it after
# editing the drawing and commit the PNGs with it. Needs rsvg-convert
# (Debian: apt-get install librsvg2-bin).
set -eu
art=$(cd "$(dirname "$0")/../src/ui/art" && pwd)
for size in 48 96 256; do
    rsvg-convert --width="$size" --height="$size" --format=png \
        --output="$art/board-$size.png" "$art/board.svg"
done
