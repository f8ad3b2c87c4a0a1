#!/usr/bin/env bash
# Installs a petcalc .deb on a fresh, minimal Debian 12 and starts it there:
# proves that the package's Depends alone (no Recommends) bring everything the
# window needs, Qt's platform plugin included, and that no CJK font package
# comes with them: the program draws its Chinese text with the font it carries.
#
#   sudo packaging/fresh-debian-test.sh [build/default/petcalc_*.deb] [shot.png]
#
# Needs root, debootstrap and Debian's package archive (the default mirror of
# debootstrap, or MIRROR=...). The first run bootstraps a minimal system
# (about 200 MB, a minute or two) and keeps it as a tarball under
# ${PETCALC_FRESH_CACHE:-/var/tmp/petcalc-fresh}; every run unpacks it anew,
# so each install starts from a clean system. Not part of `make test`: it
# downloads some 100 packages.
set -euo pipefail

deb=$(realpath -m "${1:-$(find build/default -maxdepth 1 -name 'petcalc_*.deb' | head -n1)}")
shot=$(realpath -m "${2:-petcalc-fresh-debian.png}")
cache=${PETCALC_FRESH_CACHE:-/var/tmp/petcalc-fresh}
suite=bookworm

[ "$(id -u)" -eq 0 ] || { echo "run as root (chroot, mount)" >&2; exit 1; }
[ -f "$deb" ] || { echo "no .deb: build one with 'make package'" >&2; exit 1; }
command -v debootstrap >/dev/null || { echo "apt-get install debootstrap" >&2; exit 1; }

mkdir -p "$cache"
if [ ! -f "$cache/$suite.tar" ]; then
  echo "bootstrapping a minimal $suite (once)"
  rm -rf "${cache:?}/boot"
  # shellcheck disable=SC2086 # MIRROR is empty or one word
  debootstrap --variant=minbase "$suite" "$cache/boot" ${MIRROR:-} >"$cache/debootstrap.log"
  tar -C "$cache/boot" -cf "$cache/$suite.tar.part" .
  mv "$cache/$suite.tar.part" "$cache/$suite.tar"
  rm -rf "${cache:?}/boot"
fi

root=$(mktemp -d /var/tmp/petcalc-root.XXXXXX)
cleanup() {
  local status=$? p m
  # End what is still running inside this root (the X server may outlive a
  # failed run by a moment), then unmount and remove it.
  for p in /proc/[0-9]*; do
    [ "$(readlink "$p/root" 2>/dev/null)" = "$root" ] && kill "${p#/proc/}" 2>/dev/null
  done
  sleep 1
  for m in dev/pts dev proc; do
    if mountpoint -q "$root/$m"; then umount "$root/$m" || umount -l "$root/$m"; fi
  done
  rm -rf --one-file-system "$root"
  exit "$status"
}
trap cleanup EXIT

tar -C "$root" -xf "$cache/$suite.tar"
mount -t proc proc "$root/proc"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
cp /etc/resolv.conf "$root/etc/resolv.conf"
cp "$deb" "$root/tmp/"
in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin \
              DEBIAN_FRONTEND=noninteractive LANG=C.UTF-8 /bin/sh -ec "$1"; }

echo "installing $(basename "$deb") with its Depends only"
in_root "apt-get update -qq
         apt-get install -y -qq --no-install-recommends /tmp/$(basename "$deb") >/tmp/install.log"

# The test harness, after the package so that it cannot supply a missing dependency.
in_root "apt-get install -y -qq --no-install-recommends xvfb xauth x11-utils x11-apps netpbm >/dev/null"

cat >"$root/tmp/run.sh" <<'RUN'
#!/bin/sh
# Started as a menu starts it: the Exec line of the installed desktop entry,
# field codes dropped.
entry=/usr/share/applications/org.petcalc.Petcalc.desktop
cmd=$(sed -n 's/^Exec=//p' "$entry" | head -n1 | sed 's/ *%[fFuUdDnNickvm]//g')
[ -n "$cmd" ] || { echo "no Exec line in $entry"; exit 1; }
sh -c "exec $cmd" >/tmp/petcalc.log 2>&1 &
pid=$!
for _ in 1 2 3 4 5 6 7 8 9 10; do
  sleep 1
  xwininfo -root -tree | grep -q '"Form1"' && break
done
status=0
if ! kill -0 "$pid" 2>/dev/null; then
  echo "petcalc exited early:"; cat /tmp/petcalc.log; exit 1
fi
xwininfo -root -tree | grep -q '"Form1"' || { echo "no Form1 window"; status=1; }
if fc-list :lang=zh-cn | grep -q .; then echo "a CJK font came with the package:"; fc-list :lang=zh-cn; status=1; fi
xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng >/tmp/shot.png
kill "$pid"
exit "$status"
RUN
chmod +x "$root/tmp/run.sh"
echo "starting petcalc under a virtual display"
in_root 'xvfb-run -a -s "-screen 0 640x400x24" /tmp/run.sh'
cp "$root/tmp/shot.png" "$shot"

echo "purging the package"
in_root "apt-get purge -y -qq petcalc >/dev/null
         ! test -e /usr/bin/petcalc
         ! test -e /usr/share/applications/org.petcalc.Petcalc.desktop"

echo "fresh $suite: install, start and purge passed; screenshot $shot"
