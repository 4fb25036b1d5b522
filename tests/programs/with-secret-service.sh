#!/bin/sh
# Runs a test program in a private D-Bus session with a GNOME keyring of its own, created and
# unlocked with a throw-away password, so the test talks to a real Secret Service and never to
# the user's own keyring. Works as root on a machine without a desktop.
#   with-secret-service.sh PROGRAM [ARGUMENTS...]
set -eu
for tool in dbus-run-session dbus-send gnome-keyring-daemon; do
    command -v "$tool" >/dev/null 2>&1 || {
        echo "with-secret-service.sh: $tool saknas (installera dbus-daemon och gnome-keyring)" >&2
        exit 1
    }
done
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT INT TERM
mkdir -m 700 "$home/run"
status=0
HOME="$home" XDG_DATA_HOME="$home/share" XDG_CONFIG_HOME="$home/config" XDG_CACHE_HOME="$home/cache" \
XDG_RUNTIME_DIR="$home/run" dbus-run-session -- sh -c '
    printf "valmo-test\n" | gnome-keyring-daemon --unlock --components=secrets >/dev/null
    # The daemon registers the Secret Service name a moment after it has started.
    tries=0
    until dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
            org.freedesktop.DBus.NameHasOwner string:org.freedesktop.secrets 2>/dev/null | grep -q true; do
        tries=$((tries + 1))
        [ "$tries" -lt 50 ] || { echo "with-secret-service.sh: nyckelringen startade inte" >&2; exit 1; }
        sleep 0.1
    done
    exec "$@"' sh "$@" || status=$?
exit "$status"
