#!/usr/bin/env bash
# Installs the Debian packages petcalc needs, when they are missing. The
# lists are scripts/deps/*.txt, one package a line, "#" starts a comment.
# Uses sudo when not root. Works on Debian 12 and Ubuntu 22.04+.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

mapfile -t packages < <(cat "$here"/deps/*.txt | sed 's/#.*//' | awk 'NF {print $1}' | sort -u)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
# A name this release does not know (packages are split differently across
# Debian and Ubuntu releases) is reported and skipped, not fatal for the rest.
available=()
for p in "${missing[@]}"; do
  if apt-cache show "$p" >/dev/null 2>&1; then available+=("$p"); else echo "install-deps: no package '$p' here, skipped" >&2; fi
done
[ ${#available[@]} -eq 0 ] && exit 0
echo "Installing: ${available[*]}"
$sudo apt-get install -y -qq --no-install-recommends "${available[@]}" >/dev/null
