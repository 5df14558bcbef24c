#!/usr/bin/env bash
# The workflow from raw files to a report, on examples/own with the config
# workflow/own.yaml as a user copies it: prep, motifbind and the report must
# write what the same programs run by hand write, with the held-out pairs as
# the report's truth. Then each change re-runs exactly what depends on it:
# the seed re-runs prep, motifbind and the report (every shard and the merge
# when split); a report setting only the report; the thread count nothing. A
# failing shard keeps its error in logs/ and the next run redoes only it.
#
#   workflow/tests/own-data.sh MOTIFBIND PREP MERGE REPORT WORK_DIR
#
# Exits 77 (skipped) when snakemake is not installed.
set -euo pipefail
[ $# -eq 5 ] || { echo "usage: $0 MOTIFBIND PREP MERGE REPORT WORK_DIR" >&2; exit 2; }
if ! command -v snakemake >/dev/null; then
  echo "SKIP: snakemake is not installed (apt-get install snakemake)"
  exit 77
fi
here=$(cd "$(dirname "$0")" && pwd)
source "$here/support.sh"
motifbind=$(absolute "$1")
prep=$(absolute "$2")
merge=$(absolute "$3")
report=$(absolute "$4")
work=$5

rm -rf "$work"
mkdir -p "$work/examples"
work=$(cd "$work" && pwd)
cp -R "$here/../../examples/own" "$work/examples/own"
cp "$here/../own.yaml" "$work/my.yaml"
cat > "$work/programs.yaml" <<EOF
programs:
  prep: $prep
  motifbind: $motifbind
  merge: $merge
  report: $report
EOF

# The programs of this build come right after the first config file, so
# that a later one may name another.
run_workflow() { # config files..., snakemake options...
  (cd "$work" && snakemake --cores 2 -s "$here/../Snakefile" --configfile "$1" programs.yaml "${@:2}") \
    > "$work/snakemake.out" 2>&1
}

# Fails the test unless the last workflow run ran exactly these jobs, given
# as "rule=count ..." in the order snakemake lists them, or "none".
jobs_ran() {
  local got
  got=$(awk '/^Job stats:/ { t = 1; next }
             t && $1 == "total" { exit }
             t && $2 ~ /^[0-9]+$/ { printf "%s%s=%s", sep, $1, $2; sep = " " }' "$work/snakemake.out")
  if [ -z "$got" ]; then
    grep -q "^Nothing to be done" "$work/snakemake.out" || fail "snakemake ran no job, nor said there was nothing to do"
    got=none
  fi
  [ "$got" = "$1" ] || fail "expected the jobs $1, snakemake ran: $got"
}

set_key() { # file, key (two-space indented or top level), value
  grep -q "^\( \{0,2\}\)$2: " "$1" || fail "no key $2 in $1"
  sed -i "s|^\( \{0,2\}\)$2: .*|\1$2: $3|" "$1"
}

# Section <section id="ID"> of a report page.
page_section() { # report.html id
  sed -n "/<section id=\"$2\">/,/<\/section>/p" "$1"
}

out=$work/out/own

echo "== raw files to report.html, as by hand"
run_workflow my.yaml || { cat "$work/snakemake.out"; fail "the workflow failed"; }
jobs_ran "all=1 motifbind=1 prep=1 report=1"
[ -s "$out/report/report.html" ] || fail "no report.html"

# The same steps by hand, in the same relative layout, with the options of
# own.yaml written out here so that a key passed wrongly shows up.
mkdir -p "$work/hand/out/own"
ln -s ../examples "$work/hand/examples"
(cd "$work/hand" && "$prep" --out out/own/run \
   --interactions examples/own/interactions.mitab --mitab-experiment method \
   --domains examples/own/domains.interproscan.tsv --domain-format interproscan --analysis Pfam --evalue 1e-5 \
   --fasta examples/own/proteins.fasta.gz --ddi examples/own/known_domain_pairs.tsv \
   --holdout 0.2 --seed 7 > prep.out) || fail "motifbind-prep by hand failed"
hand=$work/hand/out/own/run
read -r -a words < "$hand/command.txt"
# The files of the input set, before motifbind adds its outputs.
set_files=$(cd "$hand" && ls)
(cd "$hand" && exec -a motifbind "$motifbind" "${words[@]:1}" > stdout.txt 2> stderr.txt) ||
  fail "motifbind by hand failed"
"$report" "$hand" --out "$work/hand/report" \
  --truth "$hand/holdout_interacting.tsv" "$hand/holdout_not_interacting.tsv" > /dev/null ||
  fail "motifbind-report by hand failed"

# The input set: command.txt, every file it names, the ids and the hold-out.
for f in command.txt "${words[@]:1}" proteins.tsv motifs.tsv sources.tsv holdout_interacting.tsv \
         holdout_not_interacting.tsv truth_holdout.txt; do
  grep -qx -- "$f" <<< "$set_files" || continue
  cmp "$out/prep/$f" "$hand/$f" || fail "prep/$f differs from the one prep writes by hand"
  cmp "$out/run/$f" "$hand/$f" || fail "run/$f differs from the one prep writes by hand"
done
for f in motifbind.log predictions.txt stdout.txt; do
  cmp "$out/run/$f" "$hand/$f" || fail "run/$f differs from motifbind's by hand"
done
for f in "$work"/hand/report/*.tsv; do
  cmp "$out/report/${f##*/}" "$f" || fail "report/${f##*/} differs from the report's by hand"
done
held_out=$(page_section "$out/report/report.html" held-out)
[ -n "$held_out" ] || fail "the report has no judgement against the held-out pairs"
[ "$held_out" = "$(page_section "$work/hand/report/report.html" held-out)" ] ||
  fail "the report's judgement differs from the one against prep's held-out pairs"

echo "== unchanged: nothing runs"
run_workflow my.yaml || { cat "$work/snakemake.out"; fail "the unchanged re-run failed"; }
jobs_ran none

echo "== another seed: prep, motifbind and the report run again"
prep_before=$(stamp "$out/prep/command.txt")
run_before=$(stamp "$out/run/motifbind.log")
report_before=$(stamp "$out/report/report.html")
holdout_before=$(cat "$out/prep/holdout_interacting.tsv")
set_key "$work/my.yaml" seed 8
run_workflow my.yaml || { cat "$work/snakemake.out"; fail "the re-run with another seed failed"; }
jobs_ran "all=1 motifbind=1 prep=1 report=1"
[ "$(stamp "$out/prep/command.txt")" != "$prep_before" ] || fail "prep did not run again"
[ "$(stamp "$out/run/motifbind.log")" != "$run_before" ] || fail "motifbind did not run again"
[ "$(stamp "$out/report/report.html")" != "$report_before" ] || fail "the report was not made again"
[ "$(cat "$out/prep/holdout_interacting.tsv")" != "$holdout_before" ] || fail "seed 8 held out the pairs of seed 7"
cmp "$out/prep/holdout_interacting.tsv" "$out/run/holdout_interacting.tsv" || fail "run/ holds another seed's input set"
# The page names the seed and the checksums that made its input set.
provenance=$(page_section "$out/report/report.html" provenance)
grep -qF '<th scope="row">seed</th><td><code>8</code>' <<< "$provenance" || fail "the report does not name seed 8"
grep -qF '<th scope="row">input --fasta</th>' <<< "$provenance" || fail "the report names no checksum of the FASTA input"

echo "== a report setting: only the report runs again"
prep_before=$(stamp "$out/prep/command.txt")
run_before=$(stamp "$out/run/motifbind.log")
report_before=$(stamp "$out/report/report.html")
set_key "$work/my.yaml" known examples/own/known_domain_pairs.tsv
run_workflow my.yaml || { cat "$work/snakemake.out"; fail "the re-run with --known failed"; }
jobs_ran "all=1 report=1"
[ "$(stamp "$out/prep/command.txt")" = "$prep_before" ] || fail "prep ran again for a report setting"
[ "$(stamp "$out/run/motifbind.log")" = "$run_before" ] || fail "motifbind ran again for a report setting"
[ "$(stamp "$out/report/report.html")" != "$report_before" ] || fail "the report was not made again"
[ -n "$(page_section "$out/report/report.html" known)" ] || fail "the report does not use the known motif pairs"

echo "== another thread count: nothing runs (it never changes what motifbind writes)"
set_key "$work/my.yaml" threads 2
run_workflow my.yaml || { cat "$work/snakemake.out"; fail "the re-run with two threads failed"; }
jobs_ran none

echo "== split into three shards: the merged run is the single run"
# Both with a perturbation analysis, so that the shards have cycles to share.
printf 'outdir: out/single\nprep:\n  pertype: 1\n  pertsize: 3\n' > "$work/single.yaml"
printf 'outdir: out/split\nshards: 3\nprep:\n  pertype: 1\n  pertsize: 3\n  seed: 8\n' > "$work/split.yaml"
run_workflow my.yaml single.yaml || { cat "$work/snakemake.out"; fail "the single run failed"; }
jobs_ran "all=1 motifbind=1 prep=1 report=1"
grep -q "Joint prob before perturbation" "$work/out/single/run/motifbind.log" ||
  fail "the single run did no perturbation analysis"
run_workflow my.yaml split.yaml || { cat "$work/snakemake.out"; fail "the split run failed"; }
jobs_ran "all=1 merge=1 prep=1 report=1 shard=3"
split=$work/out/split
for f in motifbind.log predictions.txt stdout.txt; do
  cmp "$split/run/$f" "$work/out/single/run/$f" || fail "the merged $f differs from the single run's"
done
for f in "$work"/out/single/report/*.tsv; do
  cmp "$split/report/${f##*/}" "$f" || fail "report/${f##*/} of the split run differs from the single run's"
done

echo "== split, another seed: prep, every shard, the merge and the report run again"
declare -A before
for i in 0 1 2; do before[$i]=$(stamp "$split/shards/$i/motifbind.log"); done
set_key "$work/split.yaml" seed 9
run_workflow my.yaml split.yaml || { cat "$work/snakemake.out"; fail "the split re-run failed"; }
jobs_ran "all=1 merge=1 prep=1 report=1 shard=3"
for i in 0 1 2; do
  [ "$(stamp "$split/shards/$i/motifbind.log")" != "${before[$i]}" ] || fail "shard $i did not run again"
done

echo "== split, a report setting: only the report runs again"
for i in 0 1 2; do before[$i]=$(stamp "$split/shards/$i/motifbind.log"); done
run_before=$(stamp "$split/run/motifbind.log")
printf 'report:\n  known: null\n' >> "$work/split.yaml"
run_workflow my.yaml split.yaml || { cat "$work/snakemake.out"; fail "the split re-run without --known failed"; }
jobs_ran "all=1 report=1"
for i in 0 1 2; do
  [ "$(stamp "$split/shards/$i/motifbind.log")" = "${before[$i]}" ] || fail "shard $i ran again for a report setting"
done
[ "$(stamp "$split/run/motifbind.log")" = "$run_before" ] || fail "the merge ran again for a report setting"
[ -z "$(page_section "$split/report/report.html" known)" ] || fail "the report still uses the known motif pairs"

echo "== a failing shard: its error kept, no merge; the next run redoes it alone"
make_failing_motifbind "$motifbind" "$work/bin/motifbind" "$work/fail-shard-1"
touch "$work/fail-shard-1"
printf 'outdir: out/fail\nprograms:\n  motifbind: bin/motifbind\n' > "$work/fail.yaml"
if run_workflow my.yaml split.yaml fail.yaml --keep-going; then
  fail "the workflow succeeded with a failing shard"
fi
grep -q "made to fail" "$work/out/fail/logs/shard-1.txt" || fail "the failed shard's error is not in logs/shard-1.txt"
[ ! -e "$work/out/fail/shards/1" ] || fail "the failed shard left its folder"
[ ! -e "$work/out/fail/run" ] || fail "a merged run appeared although a shard failed"
prep_before=$(stamp "$work/out/fail/prep/command.txt")
before0=$(stamp "$work/out/fail/shards/0/motifbind.log")
before2=$(stamp "$work/out/fail/shards/2/motifbind.log")
rm "$work/fail-shard-1"
run_workflow my.yaml split.yaml fail.yaml || { cat "$work/snakemake.out"; fail "the re-run after the failure failed"; }
jobs_ran "all=1 merge=1 report=1 shard=1"
[ "$(stamp "$work/out/fail/prep/command.txt")" = "$prep_before" ] || fail "prep ran again after the failure"
[ "$(stamp "$work/out/fail/shards/0/motifbind.log")" = "$before0" ] || fail "shard 0 ran again after the failure"
[ "$(stamp "$work/out/fail/shards/2/motifbind.log")" = "$before2" ] || fail "shard 2 ran again after the failure"
for f in motifbind.log predictions.txt stdout.txt; do
  cmp "$work/out/fail/run/$f" "$split/run/$f" || fail "the merged $f after the failure differs"
done

echo "PASS: raw files to a report, and each change re-runs what depends on it (${SECONDS} s)"
