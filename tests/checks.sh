# The shell test library that tests/e2e and tests/package share: strict mode,
# the repository's root, and checks that count their failures. Each suite's own
# lib.sh sources it and adds what is its own.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() { # check <description> <command...>
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else fail "$what"; fi
}

# The last line of every test: non-zero when any check failed.
finish() {
  if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
  fi
  echo "all checks passed"
}
