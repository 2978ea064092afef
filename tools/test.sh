#!/bin/bash
# Builds both trees and runs every test: the portable core natively (with
# AddressSanitizer, UndefinedBehaviorSanitizer and the fuzz targets), then the
# Windows programs and their tests under Wine.
set -u
cd "$(dirname "$0")/.."
tools/prerequisites.sh || exit 1

status=0
for tree in native windows; do
    echo "== $tree tree"
    if cmake --preset "$tree" >/dev/null && cmake --build --preset "$tree"; then
        ctest --preset "$tree" || status=1
    else
        status=1
    fi
done
[ $status -eq 0 ] && echo "== all tests passed" || echo "== some tests FAILED"
exit $status
