#!/bin/bash
# A private Firebird 3 server for tests, and a client root that reaches it.
#
#   fbserver.sh start <dir> <port> [password]
#                                    build <dir>/server and <dir>/client, start
#                                    /usr/sbin/firebird on 127.0.0.1:<port>, and
#                                    return once the port answers
#   fbserver.sh stop <dir>           stop that server and wait until it is gone
#
# <dir>/server is the server's own root: links to the installed Firebird files,
# its own firebird.conf (the port, 127.0.0.1 only), and its own security
# database in which SYSDBA's password is "quillbark" unless another is given. <dir>/client is a root
# for client processes: with FIREBIRD=<dir>/client the local service name
# "service_mgr" and plain database paths go to this server (Providers = Remote,
# Loopback) instead of the in-process engine.
#
# Nothing outside <dir> is written, except what the Firebird build itself puts
# in /var/log/firebird. The server's pid is in <dir>/server.pid and its output
# in <dir>/server.out. Starting again after a stop reuses <dir> and builds the
# security database anew.
set -eu

FB_HOME=/usr/lib/x86_64-linux-gnu/firebird/3.0
SECURITY_SQL=/usr/share/firebird/3.0/security.sql
PASSWORD=quillbark

usage() {
  echo "usage: $0 start <dir> <port> [password] | stop <dir>" >&2
  exit 2
}

# A root with everything of the installed one except the two files we write.
make_root() {
  local root=$1
  mkdir -p "$root"
  local entry
  for entry in "$FB_HOME"/*; do
    case "$(basename "$entry")" in
      firebird.conf | databases.conf) ;;
      *) ln -sfn "$entry" "$root/$(basename "$entry")" ;;
    esac
  done
}

port_answers() {
  (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

start() {
  local dir port
  dir=$(realpath -m "$1")
  port=$2
  PASSWORD=${3:-$PASSWORD}
  local server=$dir/server client=$dir/client
  # A server left running in <dir> by an interrupted run is ours: end it first.
  stop "$dir"
  if port_answers "$port"; then
    echo "fbserver: port $port is taken" >&2
    exit 1
  fi
  mkdir -p "$dir/lock" "$dir/tmp"

  make_root "$server"
  cat >"$server/firebird.conf" <<CONF
RemoteServicePort = $port
RemoteBindAddress = 127.0.0.1
ServerMode = Super
AuthServer = Srp
UserManager = Srp
SecurityDatabase = $server/security3.fdb
CONF
  cat >"$server/databases.conf" <<CONF
security.db = $server/security3.fdb
{
  RemoteAccess = false
}
CONF

  # Built afresh at each start, embedded, under the server's own root: its
  # SecurityDatabase names this file, so the user is written here and the
  # installed security database is never opened.
  rm -f "$server/security3.fdb"
  env FIREBIRD="$server" FIREBIRD_LOCK="$dir/lock" FIREBIRD_TMP="$dir/tmp" \
    isql-fb -q >/dev/null <<SQL
create database '$server/security3.fdb';
commit;
SQL
  env FIREBIRD="$server" FIREBIRD_LOCK="$dir/lock" FIREBIRD_TMP="$dir/tmp" \
    isql-fb -q -user SYSDBA -i "$SECURITY_SQL" "$server/security3.fdb" >/dev/null
  env FIREBIRD="$server" FIREBIRD_LOCK="$dir/lock" FIREBIRD_TMP="$dir/tmp" \
    isql-fb -q -user SYSDBA "$server/security3.fdb" >/dev/null <<SQL
create or alter user SYSDBA password '$PASSWORD' using plugin Srp;
commit;
SQL

  make_root "$client"
  cat >"$client/firebird.conf" <<CONF
Providers = Remote, Loopback
RemoteServicePort = $port
CONF
  : >"$client/databases.conf"

  FIREBIRD="$server" FIREBIRD_LOCK="$dir/lock" FIREBIRD_TMP="$dir/tmp" \
    setsid /usr/sbin/firebird </dev/null >"$dir/server.out" 2>&1 &
  echo $! >"$dir/server.pid"

  for _ in $(seq 300); do
    if port_answers "$port"; then
      return 0
    fi
    if ! kill -0 "$(cat "$dir/server.pid")" 2>/dev/null; then
      echo "fbserver: the server ended at start:" >&2
      cat "$dir/server.out" >&2
      exit 1
    fi
    sleep 0.1
  done
  echo "fbserver: port $port does not answer" >&2
  stop "$dir"
  exit 1
}

stop() {
  local dir
  dir=$(realpath -m "$1")
  [ -f "$dir/server.pid" ] || return 0
  local pid
  pid=$(cat "$dir/server.pid")
  if kill -0 "$pid" 2>/dev/null; then
    kill -TERM "$pid"
    for _ in $(seq 300); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
      kill -KILL "$pid"
    fi
  fi
  rm -f "$dir/server.pid"
}

[ $# -ge 2 ] || usage
case "$1" in
  start) [ $# -eq 3 ] || [ $# -eq 4 ] || usage; start "${@:2}" ;;
  stop) [ $# -eq 2 ] || usage; stop "$2" ;;
  *) usage ;;
esac
