#!/usr/bin/env bash
# From annotation files to a report: runs the workflow (workflow/Snakefile)
# with the config workflow/own.yaml on the real-format example under
# examples/own: motifbind-prep, motifbind, motifbind-report, the report
# judging the run against the pairs prep held out. The commands are those of
# the README's "Your own data".
#
#   tools/run-own-example.sh            build (release), then run in the
#                                       repository, into out/own/
#   tools/run-own-example.sh --bin DIR [--work DIR]
#       use the programs already built in the first DIR; run in the second
#       (default: the repository) with a fresh copy of examples/own
#
# Needs snakemake; ends with status 77 when it is missing.
set -euo pipefail

bin=
work=
if [ "${1:-}" = --bin ]; then
  bin=$(cd "$2" && pwd)
  if [ "${3:-}" = --work ]; then
    mkdir -p "$4"
    work=$(cd "$4" && pwd)
  fi
fi
cd "$(dirname "$0")/.."
root=$(pwd)

if ! command -v snakemake >/dev/null; then
  echo "Error: the workflow needs snakemake, which is not installed (apt-get install snakemake)" >&2
  exit 77
fi

if [ -z "$bin" ]; then
  echo "Building (release) ..."
  if ! build_log=$( (cmake --preset release &&
                     cmake --build --preset release --target motifbind motifbind-prep motifbind-merge motifbind-report) 2>&1); then
    echo "$build_log" >&2
    echo "Error: the build failed" >&2
    exit 1
  fi
  # The README's command, word for word.
  PATH=$PWD/build/release:$PWD/build/release/tools:$PATH \
      snakemake --cores 2 -s workflow/Snakefile --configfile workflow/own.yaml
else
  if [ -n "$work" ]; then
    # The config names its inputs relative to the folder snakemake runs in.
    mkdir -p "$work/examples"
    rm -rf "$work/examples/own"
    cp -R examples/own "$work/examples/own"
    cd "$work"
  fi
  PATH=$bin:$bin/tools:$PATH \
      snakemake --cores 2 -s "$root/workflow/Snakefile" --configfile "$root/workflow/own.yaml"
fi

out=out/own
for f in "$out/prep/summary.txt" "$out/logs/report.txt" "$out/report/report.html"; do
  [ -s "$f" ] || { echo "Error: the workflow ended without $f" >&2; exit 1; }
done
echo
echo "The input set, by motifbind-prep ($out/prep/summary.txt):"
sed 's/^/  /' "$out/prep/summary.txt"
echo
echo "The report, against the held-out pairs ($out/logs/report.txt):"
sed 's/^/  /' "$out/logs/report.txt"
echo
echo "Results in $out/run/: motifbind.log, predictions.txt; ids in proteins.tsv and motifs.tsv"
echo "Open the report: $out/report/report.html"
