#!/usr/bin/env bash
# A private Firebird server for the multi-workstation tests:
#   tools/fbserver.sh start DIR   -> listens on 127.0.0.1:3052, databases go to DIR/data
#   tools/fbserver.sh stop DIR    -> stops the server this script started in DIR
# Its configuration root is DIR (own firebird.conf, security database, a copy of intl/),
# so it never touches the system's server. SYSDBA's password is OBRIX_DB_PASSWORD or the
# program's fixed one; OBRIX_FB_PORT changes the port, OBRIX_FB_SERVER the server program.
#
# DIR is the script's own: it is made here and carries the marker file .obrix-fbserver.
# A folder that exists, is not empty and has no marker is refused and left as it is.
# Databases in DIR/data survive a restart. The data folder belongs to the server's user
# (firebird when started as root) and its group, and is closed to everyone else.
# The server's id, start time and program are kept in DIR/server.pid; stop signals that
# process and its children only after checking that the id still names that very process.
set -euo pipefail
cmd=${1:?start|stop}; root=$(realpath -m "${2:?folder}")
port=${OBRIX_FB_PORT:-3052}
pass=${OBRIX_DB_PASSWORD:-kelptraxo}
server=${OBRIX_FB_SERVER:-/usr/sbin/firebird}
marker=$root/.obrix-fbserver
pidfile=$root/server.pid

fail() { echo "fbserver.sh: $*" >&2; exit 1; }

firebird_lib() {
  local lib=/usr/lib/x86_64-linux-gnu/firebird/3.0
  [ -d "$lib" ] || lib=$(dirname "$(readlink -f /usr/lib/*/firebird/3.0/firebird.msg)")
  echo "$lib"
}

wait_port() {
  for _ in $(seq 1 100); do
    if (exec 3<>/dev/tcp/127.0.0.1/"$port") 2>/dev/null; then return 0; fi
    sleep 0.1
  done
  return 1
}

# Start time of a process in clock ticks since boot (field 22 of /proc/PID/stat; the
# command name in field 2 may hold spaces, so count from its closing bracket).
start_time() {
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
  stat=${stat##*) }
  # shellcheck disable=SC2086
  set -- $stat
  echo "${20}"
}

# The program a process runs (its first argument), as the kernel recorded it.
program_of() {
  tr '\0' '\n' < "/proc/$1/cmdline" 2>/dev/null | head -n 1
}

# True when PID is still the server recorded in the pid file: same start time, same
# program, and (where the environment can be read) configured from this folder.
is_our_server() {
  local pid=$1 started=$2 prog=$3
  [ -n "$pid" ] && [ -d "/proc/$pid" ] || return 1
  [ "$(start_time "$pid")" = "$started" ] || return 1
  [ "$(program_of "$pid")" = "$prog" ] || return 1
  if [ -r "/proc/$pid/environ" ]; then
    tr '\0' '\n' < "/proc/$pid/environ" | grep -qxF "FIREBIRD=$root" || return 1
  fi
}

# The pid file: "PID START-TIME PROGRAM". Sets rec_pid, rec_start, rec_prog.
read_pidfile() {
  rec_pid=; rec_start=; rec_prog=
  [ -f "$pidfile" ] || return 1
  read -r rec_pid rec_start rec_prog < "$pidfile" || true
  [[ "$rec_pid" =~ ^[0-9]+$ ]] && [[ "$rec_start" =~ ^[0-9]+$ ]] && [ -n "$rec_prog" ]
}

# Every descendant of a process as "PID START-TIME", children before grandchildren.
descendants() {
  local kids k
  kids=$(pgrep -P "$1" 2>/dev/null || true)
  for k in $kids; do echo "$k $(start_time "$k")"; descendants "$k"; done
}

# Signals the noted descendants that are still the same processes.
signal_kids() {
  local sig=$1 k s
  while read -r k s; do
    [ -n "$k" ] && [ "$(start_time "$k")" = "$s" ] && kill "-$sig" "$k" 2>/dev/null || true
  done <<< "$kids"
}

running() { read_pidfile && is_our_server "$rec_pid" "$rec_start" "$rec_prog"; }

case "$cmd" in
start)
  [ -x "$server" ] || fail "no server program $server"
  if [ -e "$root" ] && [ ! -d "$root" ]; then fail "$root exists and is not a folder"; fi
  # A folder an earlier version of this script made (before the marker) is known by
  # its firebird.conf naming the folder's own security database.
  if [ -d "$root" ] && [ ! -f "$marker" ] &&
     grep -qxF "SecurityDatabase = $root/security3.fdb" "$root/firebird.conf" 2>/dev/null; then
    : > "$marker"
  fi
  if [ -d "$root" ] && [ ! -f "$marker" ] && [ -n "$(ls -A "$root")" ]; then
    fail "$root is not empty and was not made by this script; choose an empty or new folder"
  fi
  if running; then
    echo "server already running (pid $rec_pid)"; exit 0
  fi
  if (exec 3<>/dev/tcp/127.0.0.1/"$port") 2>/dev/null; then
    fail "port $port on 127.0.0.1 is taken by another program"
  fi
  mkdir -p "$root"
  : > "$marker"
  rm -f "$pidfile"
  lib=$(firebird_lib)
  # The script's own files are refreshed; the databases in data/ are kept.
  rm -rf "${root:?}/intl" "${root:?}/plugins" "${root:?}/lock"
  mkdir -p "$root/data" "$root/lock"
  cp "$lib/firebird.msg" "$root/"
  cp -r "$lib/intl" "$lib/plugins" "$root/"
  cp /etc/firebird/3.0/plugins.conf /etc/firebird/3.0/fbintl.conf "$root/" 2>/dev/null || true
  cp "$lib/intl/fbintl.conf" "$root/intl/" 2>/dev/null || true
  : > "$root/databases.conf"
  cat > "$root/firebird.conf" <<CONF
RemoteServicePort = $port
RemoteBindAddress = 127.0.0.1
SecurityDatabase = $root/security3.fdb
UdfAccess = None
AuthServer = Srp
AuthClient = Srp
UserManager = Srp
WireCrypt = Enabled
CONF
  rm -f "$root/security3.fdb"
  cp /var/lib/firebird/3.0/system/security3.fdb "$root/security3.fdb"
  chmod 600 "$root/security3.fdb"
  echo "CREATE OR ALTER USER SYSDBA PASSWORD '$pass' USING PLUGIN Srp; COMMIT;" |
    FIREBIRD="$root" FIREBIRD_LOCK="$root/lock" isql-fb -q -user SYSDBA "$root/security3.fdb" >/dev/null
  run_as=()
  if [ "$(id -u)" = 0 ] && id firebird >/dev/null 2>&1; then
    # The server runs as firebird; root (the tests) reaches data/ anyway, and the
    # firebird group may read and write what the server makes there.
    chown -R firebird:firebird "$root"
    chmod 750 "$root"
    chmod 2770 "$root/data"
    run_as=(setpriv --reuid=firebird --regid=firebird --init-groups --)
  else
    chmod 750 "$root"
    chmod 2770 "$root/data"
  fi
  # setsid and setpriv replace themselves with the server: $! is the server's own id.
  FIREBIRD="$root" FIREBIRD_LOCK="$root/lock" setsid "${run_as[@]}" "$server" \
    >"$root/server.log" 2>&1 < /dev/null &
  pid=$!
  started=
  for _ in $(seq 1 50); do
    # Recorded once the process runs the server program (not setsid or setpriv any more).
    if [ "$(program_of "$pid")" = "$server" ]; then started=$(start_time "$pid"); break; fi
    [ -d "/proc/$pid" ] || break
    sleep 0.1
  done
  [ -n "$started" ] || { echo "Firebird server did not start:"; cat "$root/server.log"; exit 1; }
  echo "$pid $started $server" > "$pidfile"
  wait_port || { echo "Firebird server did not start:"; cat "$root/server.log"; bash "${BASH_SOURCE[0]}" stop "$root"; exit 1; }
  echo "Firebird server on 127.0.0.1:$port, databases in $root/data"
  ;;
stop)
  if [ ! -f "$pidfile" ]; then
    echo "no server of this script in $root"
    exit 0
  fi
  if ! read_pidfile; then
    echo "the record $pidfile is not one this script wrote; nothing stopped"
    rm -f "$pidfile"
    exit 0
  fi
  if ! is_our_server "$rec_pid" "$rec_start" "$rec_prog"; then
    echo "the server of $root is not running any more (pid $rec_pid is not it); nothing stopped"
    rm -f "$pidfile"
    exit 0
  fi
  # Children first noted, then the server and they get TERM; KILL after five seconds.
  kids=$(descendants "$rec_pid")
  kill -TERM "$rec_pid" 2>/dev/null || true
  signal_kids TERM
  for _ in $(seq 1 50); do
    is_our_server "$rec_pid" "$rec_start" "$rec_prog" || break
    sleep 0.1
  done
  if is_our_server "$rec_pid" "$rec_start" "$rec_prog"; then
    kill -KILL "$rec_pid" 2>/dev/null || true
  fi
  signal_kids KILL
  rm -f "$pidfile"
  echo "Firebird server of $root stopped"
  ;;
*) echo "usage: $0 start|stop DIR"; exit 2 ;;
esac
