#!/usr/bin/env bash
# Runs one check of the desktop files or the package with a tool that may be missing:
#   check_tool.sh TOOL DEBIAN_PACKAGE [--quiet] -- COMMAND...
# Without the tool the check is skipped (exit 77) with a message naming the package that
# brings it (scripts/bootstrap installs them all). With --quiet any output fails the check too,
# for tools that report hints with a zero status.
set -uo pipefail
tool=$1
package=$2
shift 2
quiet=0
if [ "${1:-}" = --quiet ]; then
  quiet=1
  shift
fi
[ "${1:-}" = -- ] && shift
if ! command -v "$tool" >/dev/null 2>&1; then
  echo "SKIPPED: $tool is not installed (Debian package $package; scripts/bootstrap installs it)"
  exit 77
fi
out=$("$@" 2>&1)
status=$?
[ -n "$out" ] && echo "$out"
if [ $status -ne 0 ]; then
  echo "check failed: $* (status $status)" >&2
  exit 1
fi
if [ $quiet -eq 1 ] && [ -n "$out" ]; then
  echo "check failed: $* reported the lines above" >&2
  exit 1
fi
exit 0
