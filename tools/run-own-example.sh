#!/usr/bin/env bash
# From annotation files to a finished run: converts the real-format example
# under examples/own with motifbind-prep, runs motifbind on the result and
# scores its predictions of the held-out pairs.
#
#   tools/run-own-example.sh            build (release), then run
#   tools/run-own-example.sh --bin DIR [--work DIR]
#       use the programs already built in the first DIR; write the run under
#       the second (default out/)
set -euo pipefail
cd "$(dirname "$0")/.."

bin=build/release
work=out
if [ "${1:-}" = --bin ]; then
  bin=$2
  [ "${3:-}" = --work ] && work=$4
else
  echo "Building (release) ..."
  if ! build_log=$( (cmake --preset release &&
                     cmake --build --preset release --target motifbind motifbind-prep motifbind-eval) 2>&1); then
    echo "$build_log" >&2
    echo "Error: the build failed" >&2
    exit 1
  fi
fi

run_dir="$work/own-$(date +%Y%m%d-%H%M%S)-$$"
mkdir -p "$work"

echo "Converting examples/own ..."
prep_output=$("$bin/tools/motifbind-prep" --out "$run_dir" \
  --interactions examples/own/interactions.mitab --mitab-experiment method \
  --domains examples/own/domains.interproscan.tsv --domain-format interproscan --analysis Pfam --evalue 1e-5 \
  --fasta examples/own/proteins.fasta.gz \
  --ddi examples/own/known_domain_pairs.tsv \
  --holdout 0.2 --seed 7)
printf '%s\n' "$prep_output"

# command.txt starts with the bare word motifbind, which the log echoes.
read -r -a words < "$run_dir/command.txt"
if [ "${#words[@]}" -eq 0 ] || [ "${words[0]}" != motifbind ]; then
  echo "Error: $run_dir/command.txt does not start with motifbind" >&2
  exit 1
fi
# The line prep ends with, run as printed: it names the motifbind built
# beside motifbind-prep unless PATH already finds that one.
run_line=$(printf '%s\n' "$prep_output" | sed -n 's/^run: //p' | tail -n 1)
if [ -z "$run_line" ]; then
  echo "Error: motifbind-prep printed no line to run" >&2
  exit 1
fi
echo
echo "Running motifbind ..."
sh -c "$run_line" > "$run_dir/motifbind.stdout" 2> "$run_dir/motifbind.stderr" || {
  status=$?
  cat "$run_dir/motifbind.stderr" >&2
  echo "Error: motifbind ended with status $status" >&2
  exit 1
}
echo "Results in $run_dir/: motifbind.log, predictions.txt; ids in proteins.tsv and motifs.tsv"
echo
echo "Prediction of the held-out pairs:"
"$bin/tools/motifbind-eval" "$run_dir" | sed 's/^/  /'
