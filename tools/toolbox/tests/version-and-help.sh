#!/usr/bin/env bash
# Each helper program, run as a user runs it: --version prints its name and
# the build's version, --help its text, both on standard output with status
# 0; a misspelt option is one "Error: " line naming it, with status 1.
#
#   version-and-help.sh VERSION PROGRAM...
set -u
version=$1
shift
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failed=0
fail() {
  echo "FAIL $*" >&2
  failed=1
}

for program in "$@"; do
  name=$(basename "$program")

  "$program" --version >"$tmp/out" 2>"$tmp/err"
  status=$?
  [ "$status" -eq 0 ] || fail "$name --version: status $status"
  printf '%s %s\n' "$name" "$version" >"$tmp/want"
  cmp -s "$tmp/out" "$tmp/want" || fail "$name --version printed '$(cat "$tmp/out")'"
  [ -s "$tmp/err" ] && fail "$name --version wrote to standard error: $(cat "$tmp/err")"

  "$program" --help >"$tmp/out" 2>"$tmp/err"
  status=$?
  [ "$status" -eq 0 ] || fail "$name --help: status $status"
  grep -q -- '--version' "$tmp/out" || fail "$name --help does not list --version"
  [ -s "$tmp/err" ] && fail "$name --help wrote to standard error: $(cat "$tmp/err")"

  "$program" --verison >"$tmp/out" 2>"$tmp/err"
  status=$?
  [ "$status" -eq 1 ] || fail "$name --verison: status $status"
  printf 'Error: --verison is not an option; did you mean --version?\n' >"$tmp/want"
  cmp -s "$tmp/err" "$tmp/want" || fail "$name --verison said '$(cat "$tmp/err")'"
  [ -s "$tmp/out" ] && fail "$name --verison wrote to standard output: $(cat "$tmp/out")"
done
[ "$failed" -eq 0 ] && echo "$# programs answer --version, --help and a misspelt option"
exit "$failed"
