#!/usr/bin/env bash
# An installed tree works from any prefix. Installs the build into a scratch prefix (with a blank
# in its name), moves the whole tree elsewhere, and from there:
#   - checks the layout: the program with its engine library, manual and install.ini in one
#     folder, the examples and their data read-only in its user folder, voxtrel-run and the
#     program's link on bin/, the two man pages;
#   - runs the installed voxtrel-run on an example in the installed user folder;
#   - starts the installed program (offscreen, through the link on bin/) as a user who cannot
#     write the installation, and checks that it sets up that user's own folder with copies of
#     the examples, read-only again, and leaves the installation untouched.
# Usage: install_tree.sh BUILD_DIR PROGRAM_DIR VERSION   (PROGRAM_DIR below the prefix)
set -euo pipefail
build=$1
programdir=$2
version=$3

fail() {
  echo "install_tree: $*" >&2
  exit 1
}

scratch=$(mktemp -d)
program_pid=
cleanup() {
  if [ -n "$program_pid" ]; then kill "$program_pid" 2>/dev/null || true; fi
  chmod -R u+w "$scratch" 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT

cmake --install "$build" --prefix "$scratch/first prefix" >/dev/null ||
  fail "cmake --install $build failed"
mv "$scratch/first prefix" "$scratch/moved"
prefix=$scratch/moved
base=$prefix/$programdir

# The layout.
for f in bin/voxtrel-run bin/Tessivar "$programdir/Tessivar" "$programdir/libvoxtrel.so" \
  "$programdir/manual.html" "$programdir/install.ini" "$programdir/user/Ex-Auto.0" \
  share/man/man1/voxtrel-run.1.gz share/man/man1/Tessivar.1.gz; do
  [ -e "$prefix/$f" ] || fail "$f is missing below the prefix $prefix"
done
[ -L "$prefix/bin/Tessivar" ] || fail "bin/Tessivar is not a link to the program"
case $(readlink "$prefix/bin/Tessivar") in
  /*) fail "bin/Tessivar links to an absolute path: $(readlink "$prefix/bin/Tessivar")" ;;
esac
answers=$(find "$base/user" -type f -name 'Ex-*' | wc -l)
files=$(find "$base/user" -type f | wc -l)
[ "$answers" -eq 18 ] || fail "$answers example answer files in $base/user, expected 18"
[ "$files" -eq 25 ] || fail "$files files in $base/user, expected the 18 examples and 7 data files"
writable=$(find "$base/user" -type f -perm /222)
[ -z "$writable" ] || fail "installed examples are writable: $writable"
grep -q "Version $version" "$base/manual.html" || fail "the manual does not name Version $version"

# The installed voxtrel-run: its version, and an example run in the installed user folder
# (data files named without a folder are read from the current folder).
[ "$("$prefix/bin/voxtrel-run" --version)" = "voxtrel-run $version" ] ||
  fail "bin/voxtrel-run --version does not print voxtrel-run $version"
out=$(cd "$base/user" && "$prefix/bin/voxtrel-run" Ex-Perio.0) ||
  fail "bin/voxtrel-run Ex-Perio.0 failed: $out"
grep -q "^status: spectrum$" <<<"$out" || fail "bin/voxtrel-run Ex-Perio.0 printed: $out"
# The same lines as the build tree's runner gives on a copy of the example.
mkdir "$scratch/work"
cp "$base/user/Ex-Perio.0" "$base/user/Weak.cda" "$scratch/work/"
expected=$(cd "$scratch/work" && "$build/cli/voxtrel-run" Ex-Perio.0)
[ "$out" = "$expected" ] || fail "the installed runner printed $out, the build's $expected"
[ -s "$base/user/~Tirelle.out" ] || fail "no run log ~Tirelle.out in $base/user"
rm -f "$base/user/~Tirelle.out"

# The installed program's start-up, by a user who cannot write the installation: as root, the
# user nobody (the tree is root's); otherwise the tree is made read-only.
home=$scratch/home
mkdir -p "$home"
run_as=()
if [ "$(id -u)" -eq 0 ]; then
  chmod 755 "$scratch"
  chown 65534:65534 "$home"
  run_as=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
else
  chmod -R a-w "$base"
fi
"${run_as[@]}" env -i PATH="$PATH" HOME="$home" XDG_CONFIG_HOME="$home/config" \
  XDG_DATA_HOME="$home/data" XDG_CACHE_HOME="$home/cache" XDG_RUNTIME_DIR="$home/runtime" \
  QT_QPA_PLATFORM=offscreen LC_ALL=C "$prefix/bin/Tessivar" >"$scratch/program.log" 2>&1 &
program_pid=$!
own="$home/data/Harnwell Labs/Tessivar/user"
for _ in $(seq 1 100); do
  [ -e "$own/Ex-Auto.0" ] && [ "$(find "$own" -type f | wc -l)" -ge 25 ] && break
  kill -0 "$program_pid" 2>/dev/null || break
  sleep 0.1
done
sleep 0.5
kill -0 "$program_pid" 2>/dev/null ||
  fail "the installed program ended at start: $(cat "$scratch/program.log")"
kill "$program_pid"
wait "$program_pid" 2>/dev/null || true
program_pid=
[ -d "$own" ] || fail "the program made no folder of the user's own ($own): $(cat "$scratch/program.log")"
copied=$(find "$own" -type f | wc -l)
[ "$copied" -eq 25 ] || fail "$copied files copied into $own, expected 25"
writable=$(find "$own" -type f -name 'Ex-*' -perm /222)
[ -z "$writable" ] || fail "the user's copies of the examples are writable: $writable"
[ -n "$(find "$own/Real.Rda" -perm -u+w)" ] || fail "the user's copy of Real.Rda is read-only"
[ ! -e "$base/Tessivar.ini" ] || fail "the program wrote Tessivar.ini into the installation"
[ "$(find "$base/user" -type f | wc -l)" -eq 25 ] || fail "the program wrote into $base/user"
echo "install_tree: installed, moved and run from $prefix"
