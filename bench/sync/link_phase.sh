#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The phase of Pulsivar's beats in a Link session with LinkHut (a real peer on a private JACK
# server, dummy driver), in a private network, as a third peer sees the session: prints the mean
# and largest offset of each beat from the session's nearest beat.
#   bench/sync/link_phase.sh [--seconds S] [--build DIR]
set -euo pipefail
seconds=60
build=build
while [ $# -gt 0 ]; do
  case $1 in
    --seconds) seconds=$2; shift 2 ;;
    --build) build=$2; shift 2 ;;
    *) echo "unknown option: $1" >&2; exit 2 ;;
  esac
done
here=$(cd "$(dirname "$0")" && pwd)
test=$build/bin/sync_e2e_link_linkhut
[ -x "$test" ] || test=$build/tests/sync/sync_e2e_link_linkhut
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy PULSIVAR_LINK_PHASE_SECONDS=$seconds
"$here/../../tests/sync/in_private_network.sh" "$test" 2>&1 | grep -E "link phase offset|FAIL|SKIP|Totals"
