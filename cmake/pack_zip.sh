#!/usr/bin/env bash
# Packs the folder NAME inside PARENT into ZIP so that the same files give
# the same bytes whoever packs them and when: the entries in one order, each
# with the commit's time EPOCH (zip keeps local times, so in UTC) and a mode
# of its own rather than the umask's, without the owner and the extra times
# (-X) that would name who packed it and when.
#   bash cmake/pack_zip.sh PARENT NAME ZIP EPOCH
set -euo pipefail
parent=$1
name=$2
zip=$3
epoch=$4

cd "$parent"
find "$name" -type d -exec chmod 0755 {} +
find "$name" -type f -exec chmod 0644 {} +
find "$name" -type f -name '*.exe' -exec chmod 0755 {} +
find "$name" -exec touch -h -d "@$epoch" {} +
rm -f "$zip"
find "$name" | LC_ALL=C sort | TZ=UTC zip -q -X "$zip" -@
