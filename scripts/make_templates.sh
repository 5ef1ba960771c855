#!/usr/bin/env bash
# Turns the reviewable template sources data/templates/*.fods into the .xls workbooks the export
# fills. Usage: make_templates.sh OUTDIR [SOURCE.fods...]
# Runs its own headless LibreOffice on a private, pre-seeded profile, so a running office of
# the user is neither used nor disturbed.
set -euo pipefail
out=${1:?usage: make_templates.sh OUTDIR [SOURCE.fods...]}
shift
here=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -eq 0 ]; then set -- "$here/data/templates/Sun.fods" "$here/data/templates/Sat.fods" "$here/data/templates/Out.fods"; fi
soffice=${SOFFICE:-/usr/lib/libreoffice/program/soffice}

profile=$(mktemp -d /tmp/kelmar-templates.XXXXXX)
trap 'rm -rf "$profile"' EXIT
# A profile that has seen this version starts in a fraction of a second instead of seconds.
mkdir -p "$profile/user"
version=$(dpkg-query -W -f='${Version}' libreoffice-core 2>/dev/null | sed 's/^[0-9]*://; s/^\([0-9]*\.[0-9]*\).*/\1/' || true)
cat > "$profile/user/registrymodifications.xcu" <<XCU
<?xml version="1.0" encoding="UTF-8"?>
<oor:items xmlns:oor="http://openoffice.org/2001/registry" xmlns:xs="http://www.w3.org/2001/XMLSchema" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">
<item oor:path="/org.openoffice.Setup/Product"><prop oor:name="ooSetupLastVersion" oor:op="fuse"><value>${version:-7.4}</value></prop></item>
<item oor:path="/org.openoffice.Office.Common/Misc"><prop oor:name="FirstRun" oor:op="fuse"><value>false</value></prop></item>
</oor:items>
XCU

mkdir -p "$out"
# The office needs a UTF-8 locale for non-ASCII paths.
LC_ALL=C.UTF-8 timeout 120 "$soffice" --headless --norestore --nologo --nodefault \
  "-env:UserInstallation=file://$profile" \
  --convert-to 'xls:MS Excel 97' --outdir "$out" "$@" >/dev/null 2>&1 </dev/null
for src in "$@"; do
  name=$(basename "$src" .fods).xls
  [ -s "$out/$name" ] || { echo "make_templates: $name was not written" >&2; exit 1; }
done
