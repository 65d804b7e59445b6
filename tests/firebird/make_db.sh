#!/bin/bash
# make_db.sh <path>: create an empty Firebird database at <path> with the
# in-process engine, whatever FIREBIRD points at, so no server is needed.
set -eu
[ $# -eq 1 ] || { echo "usage: $0 <path>" >&2; exit 2; }
path=$1
case "$path" in
  *"'"*) echo "make_db: a quote in the path is not supported" >&2; exit 2 ;;
esac
echo "create database '$path'; commit;" | env -u FIREBIRD isql-fb -q
[ -f "$path" ]
