#!/usr/bin/env bash
# The Debian package, made by CPack from the build's install rules:
#   deb_package.sh make BUILD_DIR OUT_DIR       makes the package into OUT_DIR (test fixture)
#   deb_package.sh contents BUILD_DIR OUT_DIR   checks its control fields and contents: the
#       dependencies, the same files `cmake --install` installs below /usr, unpacked into a
#       scratch root (dpkg -x) whose bin/voxtrel-run runs an example from there
#   deb_package.sh lintian BUILD_DIR OUT_DIR    lintian without errors or warnings
set -euo pipefail
step=$1
build=$2
out=$3

fail() {
  echo "deb_package: $*" >&2
  exit 1
}

package() {
  local debs=("$out"/tessivar_*.deb)
  [ -f "${debs[0]}" ] || fail "no package in $out: the test deb_package_is_made makes it"
  echo "${debs[0]}"
}

case $step in
  make)
    rm -rf "$out"
    mkdir -p "$out"
    cpack --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 ||
      fail "cpack failed: $(cat "$out/cpack.log")"
    echo "deb_package: made $(package)"
    ;;

  contents)
    deb=$(package)
    depends=$(dpkg-deb -f "$deb" Depends)
    names=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//')
    for need in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6svg6 qt6-qpa-plugins \
      fonts-liberation libstdc++6 libc6; do
      grep -qxF "$need" <<<"$names" || fail "Depends lacks $need: $depends"
    done

    scratch=$(mktemp -d)
    trap 'rm -rf "$scratch"' EXIT
    # The package holds exactly what the install rules install below /usr.
    DESTDIR="$scratch/installed" cmake --install "$build" --prefix /usr >/dev/null
    (cd "$scratch/installed" && find . ! -type d | sed 's|^\.||' | sort) >"$scratch/installed.txt"
    dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\.||' | sort >"$scratch/package.txt"
    diff -u "$scratch/installed.txt" "$scratch/package.txt" >"$scratch/diff.txt" ||
      fail "the package and the install rules differ (- installed only, + packaged only):
$(cat "$scratch/diff.txt")"

    # Unpacked into a scratch root, its runner runs an example there.
    dpkg -x "$deb" "$scratch/root"
    user=$scratch/root/usr/lib/tessivar/user
    [ -L "$scratch/root/usr/bin/Tessivar" ] || fail "usr/bin/Tessivar is not a link to the program"
    chmod u+w "$user"
    result=$(cd "$user" && "$scratch/root/usr/bin/voxtrel-run" Ex-Burg.0) ||
      fail "usr/bin/voxtrel-run Ex-Burg.0 failed in the unpacked package: $result"
    grep -q "^status: spectrum$" <<<"$result" || fail "usr/bin/voxtrel-run Ex-Burg.0 printed: $result"
    grep -q "^points used: 80$" <<<"$result" || fail "usr/bin/voxtrel-run Ex-Burg.0 printed: $result"
    echo "deb_package: $(basename "$deb") holds what the install rules install and runs unpacked"
    ;;

  lintian)
    deb=$(package)
    as_root=()
    [ "$(id -u)" -eq 0 ] && as_root=(--allow-root)
    # CPack calls ldconfig in postinst and postrm for any shared library below /usr/lib; the
    # engine's, private to the program's folder, gains nothing from it and loses nothing either.
    lintian "${as_root[@]}" --fail-on error,warning --suppress-tags maintscript-calls-ldconfig \
      "$deb"
    echo "deb_package: lintian found no errors or warnings in $(basename "$deb")"
    ;;

  *) fail "unknown step $step (make, contents or lintian)" ;;
esac
