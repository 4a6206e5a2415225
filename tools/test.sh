#!/usr/bin/env bash
# Installs what is missing, builds and runs every test (headless).
source "$(dirname "$0")/common.sh"
need_packages "${BUILD_PACKAGES[@]}" libgtest-dev xvfb xauth imagemagick
build -DMIRVANE_TESTS=ON -DMIRVANE_BENCH=ON
export QT_QPA_PLATFORM=offscreen
cd build
ctest --output-on-failure --parallel "$(nproc)" --timeout 300
