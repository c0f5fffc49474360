#!/usr/bin/env bash
# pip installs the package offline into a virtual environment that sees the system's packages,
# as a user would (python3 -m venv --system-site-packages; pip install --no-build-isolation
# --no-index), from a copy of the python folder with the engine's folder named beside it and
# the build's engine library linked in; then imports it from the environment, away from the
# source and build trees, and checks that it gives the build tree's module's floats.
# Usage: pip_install.sh PYTHON SOURCE_DIR ENGINE_LIBRARY BUILD_PYTHON_DIR
set -euo pipefail
python=$1
source=$2
library=$3
build_python=$4

fail() {
  echo "pip_install: $*" >&2
  exit 1
}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cp -r "$source/python" "$scratch/python"
rm -rf "$scratch/python/build" "$scratch/python"/*.egg-info
"$python" -m venv --system-site-packages "$scratch/venv" || fail "python3 -m venv failed (python3-venv)"
TESSIVAR_ENGINE_DIR=$source/engine TESSIVAR_ENGINE_LIBRARY=$library \
  "$scratch/venv/bin/pip" install --no-build-isolation --no-index --no-cache-dir --quiet \
  "$scratch/python" || fail "pip install --no-build-isolation --no-index failed"

# The same estimate through the installed package and the build tree's module.
script='
import sys
import numpy as np
import tessivar
i = np.arange(300)
r = tessivar.mayne_firoozan(np.cos(0.9 * i) + 0.3 * np.sin(2.1 * i * i), n_poles=4, n_zeros=2,
                            l_pts=20, eps=1e-6)
print(tessivar.__file__)
print(r.db.tobytes().hex(), r.ar.tobytes().hex(), r.sig2)
'
cd "$scratch"
installed=$(env -u PYTHONPATH "$scratch/venv/bin/python" -c "$script") ||
  fail "the installed package does not import or run"
case $(head -n1 <<<"$installed") in
  "$scratch/venv/"*) ;;
  *) fail "tessivar was imported from $(head -n1 <<<"$installed"), not from the environment" ;;
esac
built=$(PYTHONPATH=$build_python "$python" -c "$script")
[ "$(tail -n1 <<<"$installed")" = "$(tail -n1 <<<"$built")" ] ||
  fail "the installed package's floats differ from the build tree's"
echo "pip_install: installed into $scratch/venv; same floats as $build_python"
