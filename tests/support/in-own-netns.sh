#!/usr/bin/env bash
# Runs a command in a network namespace of its own, with its loopback up, and marks it with
# QINGLAN_TEST_NETNS=1. The player's single-instance socket lives in the abstract socket
# namespace, which belongs to the network namespace: so two test runs on one machine never hand
# files to each other's player. Already inside one, the command runs as it is; where the machine
# refuses a namespace (no privilege and no user namespaces) it runs unisolated, saying so.
set -u
inside='ip link set lo up 2>/dev/null; export QINGLAN_TEST_NETNS=1; exec "$0" "$@"'
if [ -n "${QINGLAN_TEST_NETNS:-}" ]; then
  exec "$@"
elif unshare -n true 2>/dev/null; then
  exec unshare -n sh -c "$inside" "$@"
elif unshare --map-current-user -n true 2>/dev/null; then
  # Unprivileged: a user namespace that keeps the caller's own user id.
  exec unshare --map-current-user -n sh -c "$inside" "$@"
fi
echo "$(basename "$0"): no private network namespace here; a parallel run may meet this one" >&2
exec "$@"
