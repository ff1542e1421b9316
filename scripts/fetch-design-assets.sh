#!/usr/bin/env bash
# Fetches the fonts and platform logos once from the npm registry and writes
# them into src/design, with their licences, so that a build needs no network.
# Run it again only to update them, then commit the result.
#
# Needs: npm, and Python with fontTools and Brotli to turn the web fonts into
# .ttf files (on Debian: apt-get install python3-fonttools python3-brotli).
set -euo pipefail
cd "$(dirname "$0")/.."
dest=$PWD/src/design
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$work" && npm pack --silent @fontsource/funnel-display @fontsource/funnel-sans simple-icons >/dev/null)
for tgz in "$work"/*.tgz; do
  dir=$work/$(basename "$tgz" .tgz)
  mkdir -p "$dir" && tar xzf "$tgz" -C "$dir"
done
display=$(echo "$work"/fontsource-funnel-display-*/package)
sans=$(echo "$work"/fontsource-funnel-sans-*/package)
icons=$(echo "$work"/simple-icons-*/package)

# The weights the design tokens use: Display medium; Sans regular, medium, semibold.
mkdir -p "$dest/fonts"
rm -f "$dest"/fonts/*.ttf
# The web fonts are instances of a variable font named "... Light": name them
# by their real family and weight so that font matching finds them.
convert() { # woff2 file, family, style
  /usr/bin/env python3 - "$1" "$2" "$3" "$dest/fonts/${2// /}-$3.ttf" <<'PY'
import sys
from fontTools.ttLib import TTFont
source, family, style, target = sys.argv[1:]
font = TTFont(source)
font.flavor = None
names = font["name"]
for record in list(names.names):
    if record.nameID in (1, 2, 3, 4, 6, 16, 17):
        names.removeNames(nameID=record.nameID)
for nameID, text in {1: family, 2: style, 3: f"{family}-{style}", 4: f"{family} {style}",
                     6: f"{family.replace(' ', '')}-{style}", 16: family, 17: style}.items():
    names.setName(text, nameID, 3, 1, 0x409)
font.save(target)
PY
}
convert "$display/files/funnel-display-latin-500-normal.woff2" "Funnel Display" Medium
convert "$sans/files/funnel-sans-latin-400-normal.woff2" "Funnel Sans" Regular
convert "$sans/files/funnel-sans-latin-500-normal.woff2" "Funnel Sans" Medium
convert "$sans/files/funnel-sans-latin-600-normal.woff2" "Funnel Sans" SemiBold
cp "$sans/LICENSE" "$dest/fonts/OFL.txt"

# Logos of the platforms the icon set has, under our logo file names.
# Polar and Whop are not in it: their views draw the platform's initial.
mkdir -p "$dest/logos"
rm -f "$dest"/logos/*.svg
for pair in stripe:stripe lemonsqueezy:lemonsqueezy gumroad:gumroad shopify:shopify \
            paddle:paddle square:square woocommerce:woocommerce dodopayments:dodo; do
  cp "$icons/icons/${pair%%:*}.svg" "$dest/logos/${pair##*:}.svg"
done
cp "$icons/LICENSE.md" "$dest/logos/LICENSE.md"
cp "$icons/DISCLAIMER.md" "$dest/logos/DISCLAIMER.md"
echo "Fonts and logos written to src/design/fonts and src/design/logos."
