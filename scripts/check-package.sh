#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 the Talvensa developers
# Builds the Debian package from a build folder (default: build) and checks it without installing
# it on this machine: unpacks it into a scratch root, validates the desktop entry, the AppStream
# metainfo and the manual pages, runs lintian, and runs both unpacked programs over the sample
# tree. talvensa-cli's page must equal the build's own, and on a new account it must say where it
# looked; talvensa's batch run, as a user who cannot write the program's folder, must read the
# user's settings file and write the same page.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

rm -f "$build"/talvensa_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
debs=("$build"/talvensa_*_amd64.deb)
deb=${debs[0]}
echo "Package: $deb"

scratch=$(mktemp -d)
trap 'chmod -R u+w "$scratch"; rm -rf "$scratch"' EXIT
chmod 755 "$scratch"
root=$scratch/root
dpkg-deb -x "$deb" "$root"

# The icons: the PNG sizes and the scalable one.
for icon in 16x16/apps/talvensa.png 256x256/apps/talvensa.png scalable/apps/talvensa.svg; do
    [ -f "$root/usr/share/icons/hicolor/$icon" ] || { echo "missing icon: $icon" >&2; exit 1; }
done
desktop-file-validate "$root/usr/share/applications/talvensa.desktop"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml
for page in "$root"/usr/share/man/man1/*.1.gz; do
    warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    if [ -n "$warnings" ]; then
        printf '%s:\n%s\n' "$page" "$warnings" >&2
        exit 1
    fi
done
# The user service: where systemd looks for a package's user units, running the packaged
# program, and accepted by systemd's own check (the manual page it names found in the package).
unit=$root/usr/lib/systemd/user/talvensa-watch.service
grep -q ' /usr/bin/talvensa-cli --watch ' "$unit"
mkdir -m 700 "$scratch/runtime"
verify=$(XDG_RUNTIME_DIR="$scratch/runtime" MANPATH="$root/usr/share/man" \
    systemd-analyze --user verify "$unit" 2>&1)
[ -z "$verify" ] || { printf '%s:\n%s\n' "$unit" "$verify" >&2; exit 1; }

# Every tag down to the informational ones fails the check: fix it, or override it in the
# package with the reason (README, "Install").
lintian --info --fail-on error,warning,info "$deb" 2> >(grep -v 'root privileges' >&2)

# talvensa-cli from the package against the build's, same settings and tree.
cp -r sample/Favorites "$scratch/Favorites"
printf '[Document]\r\nBVKCommentFlag=1\r\n' > "$scratch/sample.ini"
sample_page() { "$1" --quiet --settings "$scratch/sample.ini" --folder "$scratch/Favorites" "$2"; }
sample_page "$build/talvensa-cli" "$scratch/build-page.html"
sample_page "$root/usr/bin/talvensa-cli" "$scratch/package-page.html"
cmp "$scratch/build-page.html" "$scratch/package-page.html"

# The unpacked talvensa-cli on a new account, without settings or ~/Favorites: a page is still
# written, and one line says where it looked and that --find-bookmarks lists the browsers' files.
mkdir "$scratch/new-user"
hint=$(env -u XDG_CONFIG_HOME HOME="$scratch/new-user" "$root/usr/bin/talvensa-cli" --quiet - \
    2>&1 >/dev/null)
case $hint in
*"$scratch/new-user/Favorites (which does not exist);"*--find-bookmarks*) ;;
*) printf 'talvensa-cli on a new account said: %s\n' "$hint" >&2; exit 1 ;;
esac

# talvensa from the package, batch run without a display, by a user who cannot write
# usr/bin: it reads $XDG_CONFIG_HOME/talvensa/talvensa.ini. Root can write anywhere, so root runs
# it as "nobody".
mkdir -p "$scratch/home" "$scratch/out" "$scratch/runtime" "$scratch/config/talvensa"
printf '[Document]\r\nFavoriteFolder=%s\r\nBVKCommentFlag=1\r\n[Title]\r\nTitle=Installed\r\n' \
    "$scratch/Favorites" > "$scratch/config/talvensa/talvensa.ini"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
    chown 65534:65534 "$scratch/home" "$scratch/out" "$scratch/runtime"
else
    chmod a-w "$root/usr/bin"
fi
chmod 700 "$scratch/runtime"
env HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/runtime" \
    QT_QPA_PLATFORM=offscreen "${as_user[@]}" "$root/usr/bin/talvensa" "$scratch/out/batch.html"
"$build/talvensa-cli" --quiet --settings "$scratch/config/talvensa/talvensa.ini" \
    "$scratch/expected.html"
grep -q $'^\tInstalled\r$' "$scratch/out/batch.html"
cmp "$scratch/expected.html" "$scratch/out/batch.html"
[ ! -e "$root/usr/bin/talvensa.ini" ]
echo "Package checked: $deb"
