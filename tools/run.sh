#!/usr/bin/env bash
# Installs what is missing, builds and starts Mirvane2.
source "$(dirname "$0")/common.sh"
need_packages "${BUILD_PACKAGES[@]}"
build -DMIRVANE_TESTS=OFF -DMIRVANE_BENCH=OFF
exec build/Mirvane2 "$@"
