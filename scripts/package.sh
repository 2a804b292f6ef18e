#!/usr/bin/env bash
# Builds the Debian packages from the release preset and checks them: the
# desktop entry and AppStream data as packaged, lintian without errors
# (warnings are shown); then installs all three, runs tarnel-cli from /usr/bin,
# builds the examples against the installed library, imports the Python
# module with the system's Python, and removes them again.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
cmake --preset release
cmake --build --preset release -j"$(nproc)"
rm -f build/release/*.deb
(cd build/release && cpack -G DEB)
deb=$(echo build/release/tarnel_*_amd64.deb)
devdeb=$(echo build/release/libtarnel-dev_*_amd64.deb)
pydeb=$(echo build/release/python3-tarnel_*_amd64.deb)
contents=$(mktemp -d)
trap 'rm -rf "$contents"' EXIT
dpkg-deb -x "$deb" "$contents"
desktop-file-validate "$contents"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$contents"/usr/share/metainfo/*.metainfo.xml
for package in "$deb" "$devdeb" "$pydeb"; do
  lintian_status=0
  lintian_output=$(lintian --tag-display-limit 0 "$package") || lintian_status=$?
  [ -z "$lintian_output" ] || printf '%s\n' "$lintian_output"
  if [ "$lintian_status" -ne 0 ] || grep -q '^E:' <<<"$lintian_output"; then
    echo "lintian reports errors in $package (status $lintian_status)" >&2
    exit 1
  fi
done
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y "./$deb" "./$devdeb" "./$pydeb"
version=$(/usr/bin/tarnel-cli --version)
[ "$version" = "tarnel-cli $(dpkg-deb -f "$deb" Version)" ] || { echo "installed: $version" >&2; exit 1; }
results=$(/usr/bin/tarnel-cli --uin 12 --uout 3.3 --tol 1)
grep -q ' d ' <<<"$results" || { echo "the installed tarnel-cli found no dividers" >&2; exit 1; }
echo "$version, $(wc -l <<<"$results") dividers from 12 V to 3.3 V"
cmake -S examples -B "$contents/examples" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$contents/examples" >/dev/null
"$contents/examples/best_e96_dividers" | head -n 1
# The system's Python finds the module in the package, with no PYTHONPATH.
(cd "$contents" && env -u PYTHONPATH /usr/bin/python3 -c "import tarnel; print(tarnel.search(uin=12, uout=3.3, tol=1)[0])")
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get remove -y tarnel libtarnel-dev python3-tarnel
