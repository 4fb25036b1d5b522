#!/usr/bin/env bash
# Builds valmo-screenshots and writes the pictures of the editor's windows to docs/screenshots/.
# Run it again whenever the look of a window changes, and commit the PNG files.
#   BUILD_DIR   the build folder (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
JOBS=${JOBS:-$(nproc)}

cmake -S . -B "$BUILD_DIR" >/dev/null
cmake --build "$BUILD_DIR" -j "$JOBS" --target valmo-screenshots valmo_help
# The settings show the default register's folder: a neutral user's, whoever runs this.
export XDG_DATA_HOME=/home/anna/.local/share
# A fixed look whatever the desktop: offscreen rendering and Qt's own style.
QT_QPA_PLATFORM=offscreen QT_STYLE_OVERRIDE=Fusion LC_ALL=C.UTF-8 \
    "$BUILD_DIR/tools/screenshots/valmo-screenshots" docs/screenshots
# The main window and the payment-order dialog at 200 %.
QT_QPA_PLATFORM=offscreen QT_STYLE_OVERRIDE=Fusion LC_ALL=C.UTF-8 QT_SCALE_FACTOR=2 \
    "$BUILD_DIR/tools/screenshots/valmo-screenshots" docs/screenshots --scaled
