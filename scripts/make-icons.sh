#!/usr/bin/env bash
# Renders the program's and the document's hicolor icons from the SVGs in data/icons; the PNGs it
# writes are committed beside them, so building needs no SVG renderer.
set -euo pipefail
cd "$(dirname "$0")/../data/icons"
for size in 16 32 48 64 128 256; do
    mkdir -p "$size"
    for name in io.github.vlconfig.VLConfig application-x-vlconfig-document; do
        rsvg-convert -w "$size" -h "$size" "$name.svg" -o "$size/$name.png"
    done
done
