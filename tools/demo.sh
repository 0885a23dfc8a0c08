#!/usr/bin/env bash
# The main job: sets everything up, then runs the uninstaller on a demonstration product
# in a private Wine prefix (your own prefix is left alone). With a display, the window is
# shown to you: press OK, watch, then Close. Without one (or with ZELVO_DEMO_HEADLESS=1) it
# runs on a private Xvfb, presses OK itself and saves a screenshot of the finished window
# in build/demo/zelvo-uninstall.png. Either way it prints the pane's account and what was removed.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
tools/build.sh
if [ -n "${DISPLAY:-}" ] && [ -z "${ZELVO_DEMO_HEADLESS:-}" ]; then
  export ZELVO_WINE_DISPLAY=keep ZELVO_DEMO_USER=1
fi
exec tools/with-wine.sh tools/demo-session.sh
