#!/usr/bin/env bash
# Unpacks Debian's source packages of libpng and giflib for the Windows cross
# builds (Debian ships both libraries for Linux only; zlib comes from
# libz-mingw-w64-dev). cmake/decoder_libraries.cmake compiles them into the
# static Windows executables, so both platforms decode with the same library
# versions. Run by scripts/setup.sh --all; quick when already unpacked.
#   scripts/decoder-sources.sh [FOLDER]   (default /usr/local/src/piconel-decoders)
# The system's apt configuration is left alone: the deb-src lists live in a
# temporary folder for this run only.
set -euo pipefail
target="${1:-/usr/local/src/piconel-decoders}"
marker="$target/.piconel-decoders-v1"
if [ -f "$marker" ]; then
  exit 0
fi
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/lists/partial"
cat >"$work/sources.list" <<'LIST'
deb-src http://deb.debian.org/debian bookworm main
deb-src http://deb.debian.org/debian bookworm-updates main
LIST
apt_options=(-o "Dir::Etc::SourceList=$work/sources.list" -o Dir::Etc::SourceParts=/dev/null
             -o "Dir::State::Lists=$work/lists" -o APT::Sandbox::User=root)
echo "setup: unpacking the libpng and giflib sources into $target"
apt-get "${apt_options[@]}" update -qq
(cd "$work" && apt-get "${apt_options[@]}" source -qq libpng1.6 giflib >/dev/null)
rm -rf "$target"
mkdir -p "$target"
# Fixed folder names, whatever the package revision (the version is recorded).
mv "$work"/libpng1.6-*/ "$target/libpng"
mv "$work"/giflib-*/ "$target/giflib"
ls "$work"/*.dsc | xargs -n1 basename >"$target/VERSIONS"
touch "$marker"
