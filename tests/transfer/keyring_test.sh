#!/bin/sh
# Runs the keyring cases of transfer_tests inside a session bus of their own
# with gnome-keyring-daemon, its keyrings in a temporary home.
# Usage: keyring_test.sh TRANSFER_TESTS. Exit 77 when the peers are missing.
set -eu
command -v dbus-run-session >/dev/null && command -v gnome-keyring-daemon >/dev/null || exit 77
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME="$home" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/run"
mkdir -p "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
exec dbus-run-session -- sh -c '
  eval "$(printf "test-password" | gnome-keyring-daemon --unlock --components=secrets)"
  QUORVANT_KEYRING_TEST=1 "$1" --gtest_filter="MailPasswordTest.*"
  status=$?
  kill "${GNOME_KEYRING_PID:-0}" 2>/dev/null || true
  exit $status
' sh "$1"
