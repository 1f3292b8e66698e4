#!/usr/bin/env bash
# The web page's browser tests: build/web (./kestrin web) in Debian's headless Chromium,
# against the native kestrin-cli of build/release.
set -euo pipefail
cd "$(dirname "$0")"
root=$(cd ../../.. && pwd)
[ -d node_modules/playwright-core ] || npm ci --no-audit --no-fund --loglevel=error
KESTRIN_WEB="$root/build/web" KESTRIN_CLI="$root/build/release/cli/kestrin-cli" \
KESTRIN_EXAMPLES="$root/examples" node --test --test-concurrency=1 page_test.mjs
