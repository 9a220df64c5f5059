#!/usr/bin/env bash
# The main job on a sample document: qxpextract -p puts the preview data on a named pasteboard,
# then everything that landed there is shown, and the page picture is saved as a PNG file.
set -euo pipefail
build=${1:-build}
document=${2:-tests/data/qxp/formatting.qxd}
pasteboard=${3:-orvella-demo}
extractor="$build/Mac/QuickLook/qxpextract/qxpextract"
pbutil="$build/Platform/HIServices/pbutil"
out="$PWD/out"
mkdir -p "$out"

echo "\$ qxpextract -p '$document' $pasteboard"
status=0
"$extractor" -p "$document" "$pasteboard" || status=$?
echo
echo "exit status $status"
echo
echo "Items on pasteboard '$pasteboard' (ID, flavour, bytes, text):"
"$pbutil" list "$pasteboard" | while IFS=$'\t' read -r item flavour bytes; do
  if [ "$flavour" = public.png ]; then
    picture="$out/demo-item-$item.png"
    "$pbutil" get "$pasteboard" "$item" "$flavour" > "$picture"
    printf '%s\t%s\t%s\tpicture saved as %s\n' "$item" "$flavour" "$bytes" "$picture"
  else
    printf '%s\t%s\t%s\t%s\n' "$item" "$flavour" "$bytes" "$("$pbutil" get "$pasteboard" "$item" "$flavour" | tr '\n' ' ')"
  fi
done
