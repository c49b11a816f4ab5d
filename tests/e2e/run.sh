#!/bin/sh
# Runs the end-to-end driver under Wine on a fresh wineserver. A run of the drill leaves
# Wine 8's shared font cache holding a stale entry for the removed face "Tavimo" (a face with
# a Japanese family name), and every later GUI process of the same server session then
# crashes while it starts; the cache lives only as long as the server.
set -u
wineserver -w
exec wine "$@"
