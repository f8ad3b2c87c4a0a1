#!/bin/sh
# Runs a freedesktop validator on installed files and fails on any report,
# warnings, infos and hints included, not only on errors.
#
#   validate.sh desktop  DESKTOP_FILE_VALIDATE FILE
#   validate.sh metainfo APPSTREAMCLI DESTDIR FILE
set -u

case "$1" in
desktop)
    out=$("$2" "$3" 2>&1)
    rc=$?
    if [ "$rc" -ne 0 ] || [ -n "$out" ]; then
        printf '%s\n' "$out"
        echo "desktop-file-validate: exit $rc, reports above" >&2
        exit 1
    fi
    ;;
metainfo)
    # The one pedantic hint let through: the id keeps the capital of its
    # reverse-DNS form, org.petcalc.Petcalc, which pedantic mode flags.
    allowed='cid-contains-uppercase-letter'
    status=0
    # validate: the file on its own, every level down to pedantic.
    # validate-tree: the installed tree, which also checks that the
    # launchable desktop entry is there.
    for what in "validate --no-net --pedantic --format=yaml $4" \
                "validate-tree --no-net --pedantic --format=yaml $3"; do
        # shellcheck disable=SC2086 # word splitting of $what is wanted
        out=$("$2" $what 2>&1)
        rc=$?
        tags=$(printf '%s\n' "$out" | sed -n 's/^- tag: *//p' | grep -vxF "$allowed")
        if [ "$rc" -ne 0 ] || [ -n "$tags" ]; then
            printf 'appstreamcli %s: exit %s\n%s\n' "$what" "$rc" "$out"
            status=1
        fi
    done
    exit "$status"
    ;;
*)
    echo "usage: $0 desktop|metainfo ..." >&2
    exit 2
    ;;
esac
