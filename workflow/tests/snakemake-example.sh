#!/usr/bin/env bash
# The Snakemake workflow on the bundled example, against one run without -j:
# the merged log, prediction file and standard output must be byte-identical,
# and so must the tables of the report made from them;
# deleting one shard's output re-runs that shard alone; a failing shard leaves
# no output of its own and no merge, and the next run redoes only it.
#
#   workflow/tests/snakemake-example.sh MOTIFBIND MOTIFBIND_MERGE MOTIFBIND_REPORT WORK_DIR
#
# Exits 77 (skipped) when snakemake is not installed.
set -euo pipefail
[ $# -eq 4 ] || { echo "usage: $0 MOTIFBIND MOTIFBIND_MERGE MOTIFBIND_REPORT WORK_DIR" >&2; exit 2; }
if ! command -v snakemake >/dev/null; then
  echo "SKIP: snakemake is not installed (apt-get install snakemake)"
  exit 77
fi
here=$(cd "$(dirname "$0")" && pwd)
source "$here/support.sh"
motifbind=$(absolute "$1")
merge=$(absolute "$2")
report=$(absolute "$3")
work=$4

rm -rf "$work"
mkdir -p "$work"
work=$(cd "$work" && pwd)
make_example_data "$work/data"
single_run "$motifbind" "$work/data" "$work/single"

run_workflow() { # config, extra snakemake arguments...
  local config=$1
  shift
  (cd "$work" && snakemake --cores 2 -s "$here/../Snakefile" --configfile "$config" "$@") \
    > "$work/snakemake.out" 2>&1
}

# Fails the test unless exactly the shards listed ran in the last workflow run.
shards_ran() {
  local want=$1
  local got
  got=$(awk '$1 == "shard" && $2 ~ /^[0-9]+$/ { print $2 }' "$work/snakemake.out" | head -n 1)
  [ "${got:-0}" = "$want" ] || fail "expected $want shard job(s) to run, snakemake ran ${got:-0}"
}


echo "== four outputs per shard, merged into what one run writes"
write_config out "$motifbind" "$merge" "$report" > "$work/config.yaml"
run_workflow config.yaml || { cat "$work/snakemake.out"; fail "the workflow failed"; }
shards_ran 3
for i in 0 1 2; do
  for f in motifbind.log motifbind.log.shard predictions.txt stdout.txt; do
    [ -f "$work/out/shards/$i/$f" ] || fail "shard $i has no $f"
  done
done
same_as_single "$work/out" "$work/single"
"$report" "$work/single" --out "$work/single-report" > /dev/null || fail "the report of the single run failed"
for f in "$work"/single-report/*.tsv; do
  cmp "$work/out/report/${f##*/}" "$f" || fail "report/${f##*/} differs from the single run's"
done

echo "== deleting one shard's output re-runs that shard only"
before0=$(stamp "$work/out/shards/0/motifbind.log")
before2=$(stamp "$work/out/shards/2/motifbind.log")
rm "$work/out/shards/1/predictions.txt"
run_workflow config.yaml || { cat "$work/snakemake.out"; fail "the re-run failed"; }
shards_ran 1
[ "$(stamp "$work/out/shards/0/motifbind.log")" = "$before0" ] || fail "shard 0 ran again"
[ "$(stamp "$work/out/shards/2/motifbind.log")" = "$before2" ] || fail "shard 2 ran again"
[ -f "$work/out/shards/1/predictions.txt" ] || fail "shard 1 was not re-run"
same_as_single "$work/out" "$work/single"

echo "== a failing shard: its outputs gone, no merge; the next run redoes it alone"
make_failing_motifbind "$motifbind" "$work/bin/motifbind" "$work/fail-shard-1"
touch "$work/fail-shard-1"
write_config out-fail bin/motifbind "$merge" "$report" > "$work/config-fail.yaml"
if run_workflow config-fail.yaml --keep-going; then
  fail "the workflow succeeded with a failing shard"
fi
for f in motifbind.log motifbind.log.shard predictions.txt stdout.txt; do
  [ ! -e "$work/out-fail/shards/1/$f" ] || fail "the failed shard left $f"
  for i in 0 2; do
    [ -f "$work/out-fail/shards/$i/$f" ] || fail "shard $i has no $f after shard 1 failed"
  done
done
grep -q "made to fail" "$work/out-fail/shards/1/stderr.txt" || fail "the failed shard's stderr.txt is missing"
for f in motifbind.log predictions.txt stdout.txt; do
  [ ! -e "$work/out-fail/$f" ] || fail "a merged $f appeared although a shard failed"
done
# A stale partial output, as a job killed outright leaves it.
echo stale > "$work/out-fail/shards/1/motifbind.log"
before0=$(stamp "$work/out-fail/shards/0/motifbind.log")
before2=$(stamp "$work/out-fail/shards/2/motifbind.log")
rm "$work/fail-shard-1"
run_workflow config-fail.yaml || { cat "$work/snakemake.out"; fail "the re-run after the failure failed"; }
shards_ran 1
[ "$(stamp "$work/out-fail/shards/0/motifbind.log")" = "$before0" ] || fail "shard 0 ran again after the failure"
[ "$(stamp "$work/out-fail/shards/2/motifbind.log")" = "$before2" ] || fail "shard 2 ran again after the failure"
same_as_single "$work/out-fail" "$work/single"

echo "PASS: the Snakemake workflow writes what one run writes (${SECONDS} s)"
