#!/usr/bin/env bash
# Builds motifbind (release), runs it on the bundled example data in a fresh
# folder under out/, and prints where its results are and how well it
# recovered the answers the simulator planted in the data.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

echo "Building (release) ..."
# Only the program and the evaluator: the test suite has its own command.
if ! build_log=$( (cmake --preset release && cmake --build --preset release --target motifbind motifbind-eval) 2>&1); then
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
words[0]="$root/build/release/motifbind"

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
