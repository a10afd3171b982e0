#!/bin/sh
# Fetches GLEW's Debian source package into DEST and unpacks it to DEST/glew-2.2.0.
# apt runs with a sources folder and package lists of our own under DEST, whose
# deb-src entries mirror the machine's own deb entries; the system's apt setup is
# only read, never changed.
set -eu

dest=$(mkdir -p "$1" && cd "$1" && pwd)
[ -f "$dest/glew-2.2.0/src/glew.c" ] && exit 0

apt_dir="$dest/apt"
mkdir -p "$apt_dir/sources.list.d" "$apt_dir/lists/partial"
src="$apt_dir/sources.list.d/deb-src.sources"
: > "$src"

# deb822 stanzas whose Types include "deb" become deb-src stanzas.
for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk 'BEGIN { RS = ""; ORS = "\n\n" }
         /(^|\n)Types:[^\n]*(^|[ \t])deb([ \t]|\n|$)/ {
             gsub(/Types:[^\n]*/, "Types: deb-src"); print
         }' "$f" >> "$src"
done
# One-line "deb" entries become "deb-src" ones.
list="$apt_dir/sources.list.d/deb-src.list"
: > "$list"
for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    sed -n 's/^[ \t]*deb[ \t]/deb-src /p' "$f" >> "$list"
done

apt_opts="-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts=$apt_dir/sources.list.d -o Dir::State::Lists=$apt_dir/lists -o Debug::NoDropPrivs=true -o APT::Sandbox::User=root"
# shellcheck disable=SC2086
apt-get -q $apt_opts update >/dev/null
# shellcheck disable=SC2086
(cd "$dest" && apt-get -q $apt_opts source --download-only glew >/dev/null)

orig=$(ls "$dest"/glew_2.2.0.orig.tar.* | head -n 1)
tar -xf "$orig" -C "$dest"
test -f "$dest/glew-2.2.0/src/glew.c"
