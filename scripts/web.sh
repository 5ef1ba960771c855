#!/usr/bin/env bash
# The web build: the WebAssembly module of the core with its JavaScript API, and the web app,
# assembled in build-web/site/.
#   bash scripts/web.sh build   installs what is missing, then builds the site
#   bash scripts/web.sh         the same, then serves build-web/site/ on http://127.0.0.1:8080/
#                               with Python's static server (python3 -m http.server) until stopped
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
site=$root/build-web/site

install_missing() {
  local need=()
  command -v emcc >/dev/null || need+=(emscripten)
  command -v node >/dev/null || need+=(nodejs)
  command -v cmake >/dev/null || need+=(cmake)
  command -v ninja >/dev/null || need+=(ninja-build)
  command -v python3 >/dev/null || need+=(python3)
  command -v dpkg-source >/dev/null || need+=(dpkg-dev)  # unpacks GeographicLib's source package
  [[ -f /usr/include/nlohmann/json.hpp ]] || need+=(nlohmann-json3-dev)  # horizon profiles' JSON, header-only
  if ((${#need[@]})); then
    echo "=== installing ${need[*]}"
    apt-get -o DPkg::Lock::Timeout=900 update -qq
    apt-get -o DPkg::Lock::Timeout=900 install -y --no-install-recommends "${need[@]}"
  fi
}

build_module() {
  # Emscripten's JS tools need Debian's acorn, which a Node.js of another origin does not look for.
  export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
  # emcmake's own emulator line passes Node a flag that Node 20 refuses.
  emcmake cmake -S "$root" -B "$root/build-web" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKELMAR_SITE_DIR="$site" \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$(command -v node)"
  cmake --build "$root/build-web" -j "$(nproc 2>/dev/null || echo 2)"
}

# The web app's static files, copied as they are beside the module.
build_app() {
  if [[ -d $root/web/app ]]; then
    cp -r "$root/web/app/." "$site/"
  fi
}

install_missing
build_module
build_app
# The web app's own finishing step: starter places, icons, the service worker's file list.
node "$root/web/build-site.mjs" "$site"
echo "site: $site"

case "${1:-serve}" in
  build) ;;
  serve)
    echo "serving $site on http://127.0.0.1:8080/ (Ctrl+C stops)"
    exec python3 -m http.server 8080 --bind 127.0.0.1 --directory "$site"
    ;;
  *) echo "usage: bash scripts/web.sh [build]" >&2; exit 2 ;;
esac
