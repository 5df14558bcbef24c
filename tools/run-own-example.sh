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
"$bin/tools/motifbind-prep" --out "$run_dir" \
  --interactions examples/own/interactions.mitab --mitab-experiment method \
  --domains examples/own/domains.interproscan.tsv --domain-format interproscan --analysis Pfam --evalue 1e-5 \
  --fasta examples/own/proteins.fasta.gz \
  --ddi examples/own/known_domain_pairs.tsv \
  --holdout 0.2 --seed 7

# command.txt starts with the bare word motifbind; run it from inside the
# folder with the binary just built.
read -r -a words < "$run_dir/command.txt"
if [ "${#words[@]}" -eq 0 ] || [ "${words[0]}" != motifbind ]; then
  echo "Error: $run_dir/command.txt does not start with motifbind" >&2
  exit 1
fi
# The bare name, found on PATH, so the log echoes "motifbind".
export PATH="$(cd "$bin" && pwd):$PATH"
echo
echo "Running motifbind ..."
(cd "$run_dir" && "${words[@]}" > motifbind.stdout 2> motifbind.stderr) || {
  status=$?
  cat "$run_dir/motifbind.stderr" >&2
  echo "Error: motifbind ended with status $status" >&2
  exit 1
}
echo "Results in $run_dir/: motifbind.log, predictions.txt; ids in proteins.tsv and motifs.tsv"
echo
echo "Prediction of the held-out pairs:"
"$bin/tools/motifbind-eval" "$run_dir" | sed 's/^/  /'
