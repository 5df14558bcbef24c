#!/usr/bin/env bash
# Builds motifbind (release), runs it on the bundled example data in a fresh
# folder under out/, prints where its results are and how well it recovered
# the answers the simulator planted in the data, and writes a report of the
# run (named tables and report.html) judged against that planted truth.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

echo "Building (release) ..."
# Only the program and the evaluator: the test suite has its own command.
if ! build_log=$( (cmake --preset release && cmake --build --preset release --target motifbind motifbind-eval motifbind-report) 2>&1); then
  echo "$build_log" >&2
  echo "Error: the build failed" >&2
  exit 1
fi

# motifbind never overwrites its outputs, so every run gets its own copy of
# the inputs.
run_dir="out/example-$(date +%Y%m%d-%H%M%S)-$$"
mkdir -p out
cp -R examples/data "$run_dir"
rm -f "$run_dir/motifbind.log" "$run_dir/predictions.txt"

# command.txt holds one line starting with the bare word motifbind; run it
# from inside the folder with the binary just built.
read -r -a words < "$run_dir/command.txt"
if [ "${#words[@]}" -eq 0 ] || [ "${words[0]}" != motifbind ]; then
  echo "Error: $run_dir/command.txt does not start with motifbind" >&2
  exit 1
fi
# The bare name, found on PATH, so the log echoes "motifbind".
export PATH="$root/build/release:$PATH"

echo "Running motifbind on the example (300 proteins, 2,000 tested pairs) ..."
start=$(date +%s.%N)
(cd "$run_dir" && "${words[@]}" > motifbind.stdout 2> motifbind.stderr) || {
  status=$?
  cat "$run_dir/motifbind.stderr" >&2
  echo "Error: motifbind ended with status $status" >&2
  exit 1
}
if [ -s "$run_dir/motifbind.stderr" ]; then
  echo "motifbind warned:" >&2
  sed 's/^/  /' "$run_dir/motifbind.stderr" >&2
fi
seconds=$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }')

echo
echo "Done in ${seconds} s. Results in $run_dir/:"
echo "  log:          $run_dir/motifbind.log"
echo "  predictions:  $run_dir/predictions.txt"
echo
echo "Recovery of the planted truth:"
build/release/tools/motifbind-eval "$run_dir" | sed 's/^/  /'

# The planted truth in the report's terms: tested pairs that do and do not
# interact, and the strong motif pairs (affinity of at least 0.3).
awk '$3 == 1 { print $1 "\t" $2 }' "$run_dir/truth_interactions.txt" > "$run_dir/truth_interacting.tsv"
awk '$3 == 0 { print $1 "\t" $2 }' "$run_dir/truth_interactions.txt" > "$run_dir/truth_not_interacting.tsv"
awk '$3 >= 0.3 { print $1 "\t" $2 }' "$run_dir/truth_affinities.txt" > "$run_dir/truth_strong_pairs.tsv"
echo
build/release/tools/motifbind-report "$run_dir" --out "$run_dir/report" \
  --truth "$run_dir/truth_interacting.tsv" "$run_dir/truth_not_interacting.tsv" \
  --known "$run_dir/truth_strong_pairs.tsv" | sed 's/^/  /'
echo
echo "Open the report: $run_dir/report/report.html"
