#!/usr/bin/env bash
# Runs a command on a fresh virtual display (1920x1080, 24 bit) and stops the
# display afterwards. The command's exit status is kept. The X server picks a
# free display number itself (-displayfd), so parallel runs cannot collide.
set -u
number_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill $xvfb_pid 2>/dev/null; wait $xvfb_pid 2>/dev/null; rm -f "$number_file"' EXIT
for _ in $(seq 1 200); do
  [ -s "$number_file" ] && break
  kill -0 $xvfb_pid 2>/dev/null || break
  sleep 0.05
done
number=$(tr -dc '0-9' < "$number_file")
[ -n "$number" ] || { echo "the virtual display did not start" >&2; exit 1; }
export DISPLAY=":$number"
"$@"
