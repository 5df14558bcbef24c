#!/usr/bin/env bash
# Records the expected outputs of the golden cases with one given motifbind
# binary.
#
#   tests/golden/capture.sh <motifbind binary> [case ...]
#
# Without case names every folder here that holds an args.txt is captured.
# Each case runs in a fresh temporary copy of its inputs (every file of the
# folder except args.txt and expected.*), from inside that copy, with the
# words of args.txt and with argv[0] set to exactly "motifbind": the program
# echoes its command line into the first log line, so the name and the
# relative file names are part of the recorded bytes. The log, the prediction
# file and standard output become expected.log, expected.pred and
# expected.stdout; standard error is shown but not recorded.
#
# There is no default binary: the outputs are only worth guarding when it is
# known which build produced them, so the path must be given every time.
set -euo pipefail

usage() {
    echo "usage: $0 <motifbind binary> [case ...]" >&2
    exit 1
}

[[ $# -ge 1 ]] || usage
bin=$1
shift
if [[ ! -f $bin || ! -x $bin ]]; then
    echo "error: '$bin' is not an executable file" >&2
    exit 1
fi
bin=$(realpath "$bin")
here=$(cd "$(dirname "$0")" && pwd)

cases=("$@")
if [[ ${#cases[@]} -eq 0 ]]; then
    for d in "$here"/*/; do
        [[ -f $d/args.txt ]] && cases+=("$(basename "$d")")
    done
fi
[[ ${#cases[@]} -gt 0 ]] || { echo "error: no case folders under $here" >&2; exit 1; }

scratch=$(mktemp -d /tmp/motifbind-golden-XXXXXX)
trap 'rm -rf "$scratch"' EXIT

echo "capturing with $bin"
for c in "${cases[@]}"; do
    src=$here/$c
    if [[ ! -f $src/args.txt ]]; then
        echo "error: $src/args.txt is missing" >&2
        exit 1
    fi
    read -r -a words <"$src/args.txt"
    run=$scratch/$c
    mkdir "$run"
    find "$src" -maxdepth 1 -type f ! -name args.txt ! -name 'expected.*' -exec cp {} "$run" \;

    status=0
    (cd "$run" && exec -a motifbind "$bin" "${words[@]}") \
        >"$scratch/$c.stdout" 2>"$scratch/$c.stderr" </dev/null || status=$?
    if [[ $status -ne 0 ]]; then
        echo "error: $c: motifbind exited with status $status" >&2
        cat "$scratch/$c.stderr" >&2
        exit 1
    fi
    if [[ -s $scratch/$c.stderr ]]; then
        sed "s/^/  $c (stderr): /" "$scratch/$c.stderr"
    fi
    for f in motifbind.log predictions.txt; do
        if [[ ! -f $run/$f ]]; then
            echo "error: $c: the run wrote no $f (args.txt must name the outputs motifbind.log and predictions.txt)" >&2
            exit 1
        fi
    done

    cp "$run/motifbind.log" "$src/expected.log"
    cp "$run/predictions.txt" "$src/expected.pred"
    cp "$scratch/$c.stdout" "$src/expected.stdout"
    printf '%-32s log %7d  pred %6d  stdout %6d bytes\n' "$c" \
        "$(wc -c <"$src/expected.log")" "$(wc -c <"$src/expected.pred")" "$(wc -c <"$src/expected.stdout")"
done
