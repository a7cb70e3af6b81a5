#!/bin/sh
# Runs a test program as the unprivileged user "nobody" when started as root (as CI
# is): root's writes ignore permission bits, so tests of read-only files and folders
# would prove nothing. As any other user it runs the program as it stands.
set -eu
if [ "$(id -u)" -ne 0 ]; then
  exec "$@"
fi
exec setpriv --reuid="$(id -u nobody)" --regid="$(id -g nobody)" --clear-groups \
  env HOME=/nonexistent TMPDIR=/tmp "$@"
