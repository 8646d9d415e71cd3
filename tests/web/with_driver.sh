#!/usr/bin/env bash
# Runs a command with puppeteer-core (pinned by package-lock.json here) on NODE_PATH.
# The packages are installed once per lock file under the web build's cache, outside the clone.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=${WISP_WEB_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/one-quill-wisp/web}
lock_hash=$(cat "$here/package.json" "$here/package-lock.json" | sha256sum | cut -c1-16)
driver="$root/driver-$lock_hash"

if [ ! -f "$driver/.complete" ]; then
  mkdir -p "$root"
  exec 9>"$root/.driver-lock"
  flock 9
  if [ ! -f "$driver/.complete" ]; then
    echo "with_driver: installing puppeteer-core into $driver" >&2
    rm -rf "$driver"
    mkdir -p "$driver"
    cp "$here/package.json" "$here/package-lock.json" "$driver/"
    (cd "$driver" && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error >&2) ||
      { echo "with_driver: npm could not install puppeteer-core" >&2; exit 1; }
    touch "$driver/.complete"
  fi
  exec 9>&-
fi

export NODE_PATH="$driver/node_modules${NODE_PATH:+:$NODE_PATH}"
exec "$@"
