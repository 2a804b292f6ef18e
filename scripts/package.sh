#!/usr/bin/env bash
# Builds the Debian package from the release preset and checks it: its
# desktop entry and AppStream data as packaged, lintian without errors
# (warnings are shown); then installs it, runs it from /usr/bin and removes
# it again.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
cmake --preset release
cmake --build --preset release -j"$(nproc)"
rm -f build/release/tarnel_*.deb
(cd build/release && cpack -G DEB)
deb=$(echo build/release/tarnel_*_amd64.deb)
contents=$(mktemp -d)
trap 'rm -rf "$contents"' EXIT
dpkg-deb -x "$deb" "$contents"
desktop-file-validate "$contents"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$contents"/usr/share/metainfo/*.metainfo.xml
lintian_status=0
lintian_output=$(lintian --tag-display-limit 0 "$deb") || lintian_status=$?
[ -z "$lintian_output" ] || printf '%s\n' "$lintian_output"
if [ "$lintian_status" -ne 0 ] || grep -q '^E:' <<<"$lintian_output"; then
  echo "lintian reports errors in $deb (status $lintian_status)" >&2
  exit 1
fi
(cd build/release && DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y ./tarnel_*.deb)
version=$(/usr/bin/tarnel-cli --version)
[ "$version" = "tarnel-cli $(dpkg-deb -f "$deb" Version)" ] || { echo "installed: $version" >&2; exit 1; }
results=$(/usr/bin/tarnel-cli --uin 12 --uout 3.3 --tol 1)
grep -q ' d ' <<<"$results" || { echo "the installed tarnel-cli found no dividers" >&2; exit 1; }
echo "$version, $(wc -l <<<"$results") dividers from 12 V to 3.3 V"
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get remove -y tarnel
