#!/bin/sh
# Runs a test program on a private virtual X display, large enough for the forms and in true
# colour. Exit status 77 (skipped) where no virtual X server is installed.
if ! command -v xvfb-run >/dev/null 2>&1; then
  echo "xvfb-run not found: the window tests are skipped"
  exit 77
fi
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp -noreset" "$@"
