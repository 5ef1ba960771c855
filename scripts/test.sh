#!/usr/bin/env bash
# Sets everything up and runs every test: a normal build and its Debian package (checked by
# lintian and the desktop and AppStream validators, never installed), the WebAssembly module
# against the normal build (Node's test runner), a build with AddressSanitizer and
# UndefinedBehaviorSanitizer, and the fuzz targets (clang, bounded time).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/setup.sh

jobs=$(nproc 2>/dev/null || echo 2)
export CTEST_OUTPUT_ON_FAILURE=1

build_and_test() {
  local dir=$1
  shift
  echo "=== build $dir"
  cmake -S "$root" -B "$dir" -G Ninja "$@"
  cmake --build "$dir" -j "$jobs"
  echo "=== test $dir"
  ctest --test-dir "$dir" -j "$jobs" --timeout 600 --label-exclude fuzz
}

build_and_test build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELMAR_WERROR=ON

echo "=== package"
rm -f build/kelmar_*.deb
(cd build && cpack -G DEB)
deb=$(echo build/kelmar_*.deb)
lintian --fail-on error "$deb"
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
desktop-file-validate "$unpacked/usr/share/applications/org.kelmar.Kelmar.desktop"
appstreamcli validate --no-net "$unpacked/usr/share/metainfo/org.kelmar.Kelmar.metainfo.xml"

# The WebAssembly module (emscripten installed by the web script) against the build above.
echo "=== web"
bash scripts/web.sh build
# The module is also loaded in a browser: Debian's Chromium, headless.
if ! command -v chromium >/dev/null; then
  apt-get -o DPkg::Lock::Timeout=900 install -y --no-install-recommends chromium
fi
node --test tests/web/*.test.mjs

# The web app in a headless browser, its tables checked against build/bin/kelmar-cli.
echo "=== web app"
bash web/test.sh

build_and_test build-asan -DCMAKE_BUILD_TYPE=Debug -DKELMAR_SANITIZE=ON -DKELMAR_WERROR=ON

echo "=== fuzz"
CXX=clang++ cmake -S "$root" -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELMAR_WERROR=ON \
  -DKELMAR_FUZZ=ON -DKELMAR_SANITIZE=ON -DKELMAR_BUILD_UI=OFF -DKELMAR_BUILD_EXPORT=OFF -DKELMAR_BUILD_BENCH=OFF
cmake --build build-fuzz -j "$jobs"
ctest --test-dir build-fuzz --label-regex fuzz --timeout 300 --no-tests=ignore

echo "all test builds passed"
