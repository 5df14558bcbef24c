#!/usr/bin/env bash
# Runs every fuzz target for a bounded time on a copy of its seed corpus, so
# that nothing new is written into the repository. The seeds (regression
# inputs included) are replayed first. A crash, sanitizer report, timeout or
# memory blow-up fails the script; the input that caused it is printed in hex
# and kept under the work folder named at the end.
#
#   fuzz/run.sh [build dir (build/fuzz)] [seconds per target (20)] [target ...]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-build/fuzz}"
secs="${2:-20}"
shift $(( $# > 2 ? 2 : $# ))
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_obs fuzz_obsmodel fuzz_ddiopt fuzz_protein fuzz_predict fuzz_mitab fuzz_domtblout fuzz_interproscan
                                 fuzz_fasta fuzz_runlog)

work="$(mktemp -d "${TMPDIR:-/tmp}/motifbind-fuzz.XXXXXX")"
failed=()
for t in "${targets[@]}"; do
  bin="$build/fuzz/$t"
  [ -x "$bin" ] || { echo "fuzz: $bin is missing; build the fuzz preset first" >&2; exit 1; }
  mkdir -p "$work/$t/corpus" "$work/$t/artifacts"
  cp "$here/corpus/$t/"* "$work/$t/corpus/"
  dict=()
  [ -f "$here/$t.dict" ] && dict=(-dict="$here/$t.dict")
  echo "fuzz: $t for ${secs}s"
  if ! "$bin" "${dict[@]}" -max_total_time="$secs" -rss_limit_mb=512 -malloc_limit_mb=256 -timeout=10 \
      -print_final_stats=1 -artifact_prefix="$work/$t/artifacts/" "$work/$t/corpus" >"$work/$t/log" 2>&1; then
    failed+=("$t")
    tail -n 60 "$work/$t/log"
    for a in "$work/$t/artifacts/"*; do
      [ -f "$a" ] || continue
      echo "fuzz: $t finding $(basename "$a"):"
      od -An -tx1 -v "$a" | head -n 20
    done
  else
    grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "$work/$t/log" | tail -n 2 || true
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: findings in ${failed[*]}; logs and inputs under $work" >&2
  exit 1
fi
rm -rf "$work"
echo "fuzz: no findings"
