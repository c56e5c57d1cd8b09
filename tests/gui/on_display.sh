#!/bin/sh
# Runs a window test on the session's X display (./run test starts one), else on its own.
if [ -n "${DISPLAY:-}" ]; then exec "$@"; fi
exec xvfb-run -a -s "-screen 0 1024x768x24" "$@"
