#!/usr/bin/env bash
# Makes the README's thumbnail pictures with the thumbnailer itself, in two looks:
#   docs/thumbnails/make-pictures.sh [BUILD] [CORPUS]
set -euo pipefail
here=$(dirname "$0")
build=$(realpath "${1:-$here/../../build}")
corpus=$(realpath "${2:-$here/../../../shared/qxp-corpus}")
cd "$here"
thumbnailer="$build/External/Foliotta.qlgenerator/stage/bin/foliotta-thumbnailer"
samples=(4.0_win/colors.qxd 4.0_win/formatting.qxd 4.0_win/gradients.qxd 4.0_win/text_paths.qxd
         3.3_mac/facing_pages 3.3_mac/linked_texts)
for sample in "${samples[@]}"; do
  name=$(basename "$sample" .qxd)
  "$thumbnailer" --skin Classic --background none -s 128 "$corpus/$sample" "classic-$name.png"
  "$thumbnailer" --skin Ocean --background 214,234,248 -s 128 "$corpus/$sample" "ocean-$name.png"
done
