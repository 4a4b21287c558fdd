#!/usr/bin/env bash
# The main job: installs what is missing, builds, creates the demo database with this computer
# registered to the demo dealer, starts the reference server on 127.0.0.1:9090, starts the client
# against it, and stops the server when the client exits.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default

bin=build/default/src
demo_dir=build/demo
mkdir -p "$demo_dir"
db="$demo_dir/demo.db"
port=9090

identity=$("$bin/app/morvex" --print-identity | sed -n 's/^identity: \([^ ]*\).*/\1/p')
rm -f "$db" "$db-wal" "$db-shm"
"$bin/server/morvex-server" --init-demo "$db" --register-identity "$identity" >/dev/null

"$bin/server/morvex-server" --db "$db" --port "$port" &
server_pid=$!
trap 'kill "$server_pid" 2>/dev/null; wait "$server_pid" 2>/dev/null || true' EXIT

for _ in $(seq 1 50); do
  (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
  sleep 0.1
done

cat <<TXT

  morvex demo: server on 127.0.0.1:$port, database $db
  This computer (identity $identity) is registered to the demo dealer.
  Log in with user name BAYI0 and password 1234.

TXT

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found: run this on a desktop, or under xvfb-run. The server stays up until Ctrl+C."
  wait "$server_pid"
else
  "$bin/app/morvex" --host 127.0.0.1 --port "$port" || true
fi
