#!/bin/sh
# Builds the Debian package with CPack in a scratch folder and looks at it as
# apt, a desktop and a software centre would. Debian's own tools judge it,
# and any report they print fails the test:
#   lintian: the control fields, owners and modes, paths, the maintainer
#     scripts, the copyright, change log and manual page, and that the menu
#     entry's Exec is a program in the package;
#   desktop-file-validate: the menu entry;
#   appstreamcli: the metainfo, and that its launchable entry is installed.
# What they cannot know is ours: Qt found by dpkg-shlibdeps, the entry's
# icon installed, and the metainfo and change log naming this version.
#
#   deb.sh CPACK_CONFIG WORK APP_ID VERSION
set -u
config=$1 work=$2 id=$3 version=$4
fail() { echo "deb.sh: $*" >&2; status=1; }
status=0

rm -rf "$work" && mkdir -p "$work" || exit 1
cpack -G DEB --config "$config" -B "$work" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
deb="$work/petcalc_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || { echo "deb.sh: no $deb; cpack made:" "$work"/*.deb >&2; exit 1; }
root="$work/root"
dpkg-deb -x "$deb" "$root" || exit 1

# Errors, warnings and pedantic hints fail; infos (the hardening flags that
# Debian's own build would add) are shown.
lintian --display-info --pedantic --fail-on error,warning,pedantic "$deb" || fail "lintian reports above"
out=$(desktop-file-validate "$root/usr/share/applications/$id.desktop" 2>&1)
[ $? -eq 0 ] && [ -z "$out" ] || fail "desktop-file-validate: $out"
appstreamcli validate-tree --no-net --strict "$root" || fail "appstreamcli reports above"

dpkg-deb --field "$deb" Depends | grep -q 'libqt6widgets6' || fail "Depends lacks libqt6widgets6"
icon=$(sed -n 's/^Icon=//p' "$root/usr/share/applications/$id.desktop")
[ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no scalable icon named Icon=$icon"
release=$(grep -o -m 1 '<release version="[^"]*"' "$root/usr/share/metainfo/$id.metainfo.xml")
[ "$release" = "<release version=\"$version\"" ] || fail "newest metainfo release: $release, the project is $version"
head=$(zcat "$root/usr/share/doc/petcalc/changelog.gz" | head -n 1)
case "$head" in "petcalc ($version)"*) ;; *) fail "newest change log entry: $head, the project is $version" ;; esac

[ "$status" -eq 0 ] && rm -rf "$work"
exit "$status"
