#!/usr/bin/env bash
# A private Firebird server for the multi-workstation tests:
#   tools/fbserver.sh start DIR   -> listens on 127.0.0.1:3052, databases go to DIR/data
#   tools/fbserver.sh stop DIR
# Its configuration root is DIR (own firebird.conf, security database, a copy of intl/),
# so it never touches the system's server. SYSDBA's password is OBRIX_DB_PASSWORD or the program's fixed one.
set -euo pipefail
cmd=${1:?start|stop}; root=$(realpath -m "${2:?folder}")
port=${OBRIX_FB_PORT:-3052}
pass=${OBRIX_DB_PASSWORD:-kelptraxo}
lib=/usr/lib/x86_64-linux-gnu/firebird/3.0
[ -d "$lib" ] || lib=$(dirname "$(readlink -f /usr/lib/*/firebird/3.0/firebird.msg)")

wait_port() {
  for _ in $(seq 1 100); do
    if (exec 3<>/dev/tcp/127.0.0.1/"$port") 2>/dev/null; then return 0; fi
    sleep 0.1
  done
  return 1
}

case "$cmd" in
start)
  if [ -f "$root/server.pid" ] && kill -0 "$(cat "$root/server.pid")" 2>/dev/null; then
    echo "server already running (pid $(cat "$root/server.pid"))"; exit 0
  fi
  rm -rf "$root"; mkdir -p "$root/data" "$root/lock"
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
  cp /var/lib/firebird/3.0/system/security3.fdb "$root/security3.fdb"
  echo "CREATE OR ALTER USER SYSDBA PASSWORD '$pass' USING PLUGIN Srp; COMMIT;" |
    FIREBIRD="$root" FIREBIRD_LOCK="$root/lock" isql-fb -q -user SYSDBA "$root/security3.fdb" >/dev/null
  if id firebird >/dev/null 2>&1 && [ "$(id -u)" = 0 ]; then
    chown -R firebird:firebird "$root"
    chmod 777 "$root/data"
    FIREBIRD="$root" FIREBIRD_LOCK="$root/lock" setsid su -s /bin/sh firebird -c "exec /usr/sbin/firebird" \
      >"$root/server.log" 2>&1 < /dev/null &
  else
    FIREBIRD="$root" FIREBIRD_LOCK="$root/lock" setsid /usr/sbin/firebird >"$root/server.log" 2>&1 < /dev/null &
  fi
  echo $! > "$root/server.pid"
  wait_port || { echo "Firebird server did not start:"; cat "$root/server.log"; exit 1; }
  echo "Firebird server on 127.0.0.1:$port, databases in $root/data"
  ;;
stop)
  if [ -f "$root/server.pid" ]; then
    pid=$(cat "$root/server.pid")
    pkill -P "$pid" 2>/dev/null || true
    kill "$pid" 2>/dev/null || true
    pkill -f "^/usr/sbin/firebird" -U firebird 2>/dev/null || true
    rm -f "$root/server.pid"
  fi
  ;;
*) echo "usage: $0 start|stop DIR"; exit 2 ;;
esac
