#!/bin/sh
# Runs the keyring cases of transfer_tests inside a session bus of their own
# with gnome-keyring-daemon, its keyrings in a temporary home. Every process
# it starts is ended here: a daemon left behind would hold the test runner's
# output open and keep it waiting.
# Usage: keyring_test.sh TRANSFER_TESTS. Exit 77 when the peers are missing.
set -eu
for tool in dbus-run-session dbus-send gnome-keyring-daemon timeout; do
  command -v "$tool" >/dev/null || exit 77
done
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME="$home" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/run"
mkdir -p "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
timeout -k 5 90 dbus-run-session -- sh -c '
  printf "test-password" |
    gnome-keyring-daemon --foreground --unlock --components=secrets \
      >"$HOME/daemon.out" 2>"$HOME/daemon.log" &
  daemon=$!
  tries=0
  until dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
          org.freedesktop.DBus.NameHasOwner string:org.freedesktop.secrets 2>/dev/null |
        grep -q "boolean true"; do
    tries=$((tries + 1))
    if [ "$tries" -gt 100 ]; then
      echo "gnome-keyring-daemon did not start:" >&2
      cat "$HOME/daemon.log" >&2
      kill "$daemon" 2>/dev/null
      exit 1
    fi
    sleep 0.1
  done
  status=0
  QUORVANT_KEYRING_TEST=1 timeout -k 5 60 "$1" --gtest_filter="MailPasswordTest.*" || status=$?
  kill "$daemon" 2>/dev/null || true
  wait "$daemon" 2>/dev/null || true
  exit $status
' sh "$1"
