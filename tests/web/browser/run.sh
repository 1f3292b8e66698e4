#!/usr/bin/env bash
# The web page's browser tests: build/web (./kestrin web) in Debian's headless Chromium,
# against the native kestrin-cli of build/release and the desktop planner's drawing
# (planner_expectations of build/test).
set -euo pipefail
cd "$(dirname "$0")"
root=$(cd ../../.. && pwd)
[ -d node_modules/playwright-core ] || npm ci --no-audit --no-fund --loglevel=error
# What the desktop's planner draws, from the test build (./kestrin test).
expectations="$root/build/test/tests/planner_expectations"
[ -x "$expectations" ] || cmake --build "$root/build/test" --target planner_expectations >/dev/null
KESTRIN_WEB="$root/build/web" KESTRIN_CLI="${KESTRIN_CLI:-$root/build/release/cli/kestrin-cli}" \
KESTRIN_PLANNER_EXPECTATIONS="$expectations" \
KESTRIN_EXAMPLES="$root/examples" node --test --test-concurrency=1 page_test.mjs policy_test.mjs
