#!/usr/bin/env bash
# Builds the Debian package from a build folder and checks it as a user would get it: installed
# into a clean prefix, velkctl runs and finds its MIDI backend modules; the dependencies resolve;
# the desktop entry and the metainfo pass their validators.
#   scripts/check-package.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)

(cd "$build" && cpack -G DEB >/dev/null)
package=$(ls -t "$build"/velk-vovezid_*.deb | head -n 1)
echo "package: $(basename "$package")"
dpkg-deb --field "$package" Depends

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
dpkg-deb --extract "$package" "$prefix"
"$prefix/usr/bin/velkctl" --version
# Listing loads the backend's module, whether or not its MIDI service runs here.
for service in alsa jack; do
    listing=$("$prefix/usr/bin/velkctl" list --midi $service 2>&1 || true)
    if grep "backend could not be loaded" <<<"$listing"; then
        echo "the installed velkctl does not find its $service backend"
        exit 1
    fi
done
for file in usr/bin/velk-vovezid usr/share/man/man1/velkctl.1 usr/share/bash-completion/completions/velkctl \
    usr/share/icons/hicolor/256x256/apps/velk-vovezid.png usr/share/doc/velk-vovezid/copyright; do
    [ -e "$prefix/$file" ] || { echo "missing from the package: $file"; exit 1; }
done
desktop-file-validate "$prefix"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$prefix"/usr/share/metainfo/*.metainfo.xml
# Every dependency is one Debian can install.
apt-get install --simulate --quiet "$package" >/dev/null
echo "package checked"
