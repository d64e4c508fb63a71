#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# A launcher as desktop programs ship them (a shell script in /usr/bin that sets the
# environment up and then becomes the real program): the monitor first sees this shell, then
# the program under the same PID.
#
#   launch-exec.sh PROGRAM [ARGS...]
set -e
if [ $# -eq 0 ]; then
    echo "usage: launch-exec.sh PROGRAM [ARGS...]" >&2
    exit 2
fi
LAUNCHED_BY=launch-exec.sh
export LAUNCHED_BY
exec "$@"
