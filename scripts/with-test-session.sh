#!/usr/bin/env bash
# Runs a command with the real parts tests need, never the user's own: a
# temporary home (settings, data), a private D-Bus session with an unlocked
# Secret Service (gnome-keyring) and an X display (Xvfb).
set -euo pipefail

if [ -z "${KORVANTA_TEST_SESSION:-}" ]; then
  home=$(mktemp -d -t korvanta-test-home.XXXXXX)
  trap 'rm -rf "$home"' EXIT
  export KORVANTA_TEST_SESSION=1
  export HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share"
  export XDG_CACHE_HOME="$home/.cache" XDG_RUNTIME_DIR="$home/run"
  mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
  export LANG=C.UTF-8 LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen
  unset DISPLAY WAYLAND_DISPLAY
  status=0
  dbus-run-session -- xvfb-run -a "$0" "$@" || status=$?
  exit $status
fi

# Inside the private session: start the keyring daemon unlocked.
eval "$(printf 'korvanta-test' | gnome-keyring-daemon --unlock --components=secrets)"
export GNOME_KEYRING_CONTROL SSH_AUTH_SOCK 2>/dev/null || true
exec "$@"
