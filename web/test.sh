#!/usr/bin/env bash
# The web app's browser tests: Debian's Chromium driven by playwright-core against the built
# site, with the native kelmar-cli's tables as the expected ones. Needs build/bin/kelmar-cli
# (the normal build) and build-web/site (bash scripts/web.sh build).
set -euo pipefail
cd "$(dirname "$0")/.."

missing=()
command -v chromium >/dev/null || missing+=(chromium)
command -v npm >/dev/null || missing+=(nodejs npm)
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get -o DPkg::Lock::Timeout=900 install -y -q --no-install-recommends "${missing[@]}"
fi
# The lock file pins playwright-core; it drives the system's browser and downloads none.
if [ ! -d web/node_modules/playwright-core ] || [ web/package-lock.json -nt web/node_modules/.package-lock.json ]; then
  (cd web && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund)
fi
# The workbook library comes from the lock file too: a site built before it was there gets it now.
if [ -d build-web/site ] && [ ! -f build-web/site/lib/exceljs.bare.min.js ]; then node web/build-site.mjs build-web/site; fi
node --test web/tests/app.test.mjs web/tests/pictures.test.mjs web/tests/aim.test.mjs
