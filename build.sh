#!/usr/bin/env bash
# Sets up, builds and runs Lumora Valmo on Debian 12.
#   ./build.sh run    install what is missing, build, start the editor
#   ./build.sh test   install what is missing, build, run every test and check
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(build-essential cmake pkg-config
          qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev
          libqt6sql6-sqlite libsqlite3-dev
          libjpeg62-turbo-dev libgtest-dev rapidjson-dev libjemalloc-dev
          clang libclang-rt-14-dev
          xvfb xauth
          qtkeychain-qt6-dev libsecret-1-0 gnome-keyring dbus-daemon
          desktop-file-utils appstream shared-mime-info dpkg-dev fakeroot file)
BUILD_DIR=${BUILD_DIR:-build}
JOBS=${JOBS:-$(nproc)}

install_missing() {
    local missing=()
    for package in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
            || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}

build() {
    cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build "$BUILD_DIR" -j "$JOBS"
}

run_checks() {
    for check in tools/checks/*.sh; do
        [ -e "$check" ] || continue
        echo "== $check"
        BUILD_DIR="$BUILD_DIR" JOBS="$JOBS" bash "$check"
    done
}

case "${1:-}" in
    run)
        install_missing
        build
        editor="$BUILD_DIR/app/valmo"
        shift
        if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
            echo "No display found. Starting the editor under a virtual display: xvfb-run -a $editor"
            exec xvfb-run -a "$editor" "$@"
        fi
        exec "$editor" "$@"
        ;;
    test)
        install_missing
        build
        (cd "$BUILD_DIR" && ctest --output-on-failure -j "$JOBS")
        run_checks
        ;;
    *)
        echo "usage: $0 run|test" >&2
        exit 2
        ;;
esac
