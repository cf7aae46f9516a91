#!/bin/sh
# Pictures of the help's pages as a browser shows them, for a review or a release note:
#   scripts/help-screenshots.sh [OUTPUT_FOLDER] [PAGE...]
# Needs the help built (scripts/build.sh) and Debian's chromium, which it installs when missing.
set -e
top="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$top/build/help-screenshots}"
[ $# -gt 0 ] && shift
pages="${*:-getting-started requirements limits glossary errors condition0}"
command -v chromium >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -q chromium >/dev/null
mkdir -p "$out"
for page in $pages; do
    chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --window-size=1000,1400 \
        --screenshot="$out/$page.png" "file://$top/build/win64/help/pages/$page.html" >/dev/null 2>&1
    echo "$out/$page.png"
done
