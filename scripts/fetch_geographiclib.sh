#!/usr/bin/env bash
# Fetches GeographicLib's Debian source package (the version of libgeographiclib-dev) into
# DIR/geographiclib-<version>, with a sources list of its own: the machine's apt
# configuration is read for its mirror, never changed.
set -euo pipefail
dir=$(realpath -m "${1:?usage: fetch_geographiclib.sh DIR}")
version=2.1.2
src=$dir/geographiclib-$version
if [[ -f $src/include/GeographicLib/MagneticModel.hpp ]]; then
  exit 0
fi
mkdir -p "$dir/apt/lists/partial" "$dir/apt/cache/archives/partial"
. /etc/os-release
suite=${VERSION_CODENAME:?no VERSION_CODENAME in /etc/os-release}

# The machine's mirror for the release's main component: a deb822 stanza or a one-line entry.
mirror="" keyring=""
for f in /etc/apt/sources.list.d/*.sources; do
  [[ -f $f && -z $mirror ]] || continue
  read -r mirror keyring < <(awk -v suite="$suite" '
    function flush() { if (uris != "" && (" " suites " ") ~ (" " suite " ") && comps ~ /main/) { print uris, key; exit } uris = suites = comps = key = "" }
    /^[[:space:]]*$/ { flush(); next }
    /^URIs:/ { uris = $2 } /^Suites:/ { $1 = ""; suites = $0 } /^Components:/ { comps = $0 } /^Signed-By:/ { key = $2 }
    END { flush() }' "$f") || true
done
if [[ -z $mirror && -f /etc/apt/sources.list ]]; then
  mirror=$(awk -v suite="$suite" '$1 == "deb" && $0 ~ (" " suite " ") { for (i = 2; i <= NF; i++) if ($i ~ /:\/\//) { print $i; exit } }' /etc/apt/sources.list)
fi
[[ -n $mirror ]] || { echo "fetch_geographiclib: no Debian mirror for $suite in the apt configuration" >&2; exit 1; }
options=""
[[ -n $keyring ]] && options="[signed-by=$keyring] "
echo "deb-src ${options}${mirror} ${suite} main" > "$dir/apt/sources.list"

apt_opts=(-o Dir::Etc::SourceList="$dir/apt/sources.list" -o Dir::Etc::SourceParts=- -o Dir::State::Lists="$dir/apt/lists"
          -o Dir::Cache="$dir/apt/cache" -o APT::Sandbox::User=root)
apt-get "${apt_opts[@]}" update -qq
(cd "$dir" && apt-get "${apt_opts[@]}" source -qq geographiclib)
[[ -f $src/include/GeographicLib/MagneticModel.hpp ]] || { echo "fetch_geographiclib: no GeographicLib $version in $dir" >&2; exit 1; }
