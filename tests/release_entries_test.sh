#!/bin/sh
# Fails when the newest entry of the package's changelog or of the AppStream
# releases is not the project's version, so that no release ships without its notes.
# Usage: release_entries_test.sh VERSION CHANGELOG METAINFO
set -eu
version=$1
status=0
changelog_version=$(dpkg-parsechangelog -l "$2" -S Version)
if [ "$changelog_version" != "$version" ]; then
    echo "$2: newest entry is $changelog_version, the project is $version" >&2
    status=1
fi
release_version=$(sed -nE 's/.*<release[[:space:]]+version="([^"]*)".*/\1/p' "$3" | head -n 1)
if [ "$release_version" != "$version" ]; then
    echo "$3: newest release is '$release_version', the project is $version" >&2
    status=1
fi
exit $status
