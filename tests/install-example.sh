#!/usr/bin/env bash
# Installs the build into an empty prefix and uses it as a user would, with
# only the prefix's bin folder and the system's on PATH: every program answers
# --help, the man pages, documents and workflow files are in place, the
# bundled example runs from its command.txt, and the real-format example runs
# through motifbind-prep and the line it prints, with the prefix on PATH and
# without it, and through the installed workflow when snakemake is there.
#
#   tests/install-example.sh CMAKE BUILD WORK VERSION man|no-man PROGRAM...
set -euo pipefail

cmake=$1 build=$2 work=$3 version=$4 man=$5
shift 5
programs=("$@")
src=$(cd "$(dirname "$0")/.." && pwd)

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

has_program() {
  local p
  for p in "${programs[@]}"; do [ "$p" = "$1" ] && return 0; done
  return 1
}

for p in motifbind motifbind-prep motifbind-eval motifbind-report; do
  has_program "$p" || { echo "SKIP: this build has no $p"; exit 77; }
done

rm -rf "$work"
# A space in the prefix, which the printed run line must quote.
prefix="$work/pre fix"
mkdir -p "$prefix"
"$cmake" --install "$build" --prefix "$prefix" > "$work/install.log" 2>&1 ||
  { cat "$work/install.log" >&2; fail "cmake --install failed"; }

export PATH="$prefix/bin:/usr/bin:/bin"
cd "$work"

# --- What went where.

[ "$(ls "$prefix/bin" | sort)" = "$(printf '%s\n' "${programs[@]}" | sort)" ] ||
  fail "bin/ holds $(ls "$prefix/bin" | tr '\n' ' '), expected ${programs[*]}"

for p in "${programs[@]}"; do
  [ -x "$prefix/bin/$p" ] || fail "$p is not executable"
  status=0
  "$p" --help > help.out 2> help.err || status=$?
  if [ "$status" -eq 0 ] && [ -s help.out ] && [ ! -s help.err ]; then
    :
  elif [ "$p" = motifbind ] && [ "$status" -eq 1 ] && head -n 1 help.err | grep -q '^Usage' &&
       ! motifbind --version > /dev/null 2>&1; then
    # A motifbind that knows neither --help nor --version answers with its
    # usage text on standard error and status 1; one that knows --version
    # must answer --help on standard output.
    :
  else
    fail "$p --help: status $status, $(wc -l < help.out) lines on standard output, $(wc -l < help.err) on standard error"
  fi
  # Where --version is known, it gives the build's version.
  if "$p" --version > version.out 2> /dev/null; then
    grep -qF "$version" version.out || fail "$p --version says '$(head -n 1 version.out)', not $version"
  fi

  page="$prefix/share/man/man1/$p.1"
  if [ "$man" = man ]; then
    [ -s "$page" ] || fail "no man page $page"
    grep -q '^\.SH NAME' "$page" && grep -qF "$version" "$page" ||
      fail "$page has no NAME section or no version $version"
  fi
done

for f in README.md LICENSE CHANGELOG.md CITATION.cff; do
  cmp "$src/$f" "$prefix/share/doc/motifbind/$f" || fail "share/doc/motifbind/$f is not $f"
done

# The workflow folder but its tests and build file, modes kept.
expected=$(cd "$src/workflow" && find . -type f ! -path './tests/*' ! -name CMakeLists.txt | sort)
installed=$(cd "$prefix/share/motifbind/workflow" && find . -type f | sort)
[ "$installed" = "$expected" ] ||
  fail "share/motifbind/workflow holds $(echo $installed), expected $(echo $expected)"
for f in $expected; do
  cmp "$src/workflow/$f" "$prefix/share/motifbind/workflow/$f" || fail "workflow/$f differs"
  [ -x "$src/workflow/$f" ] && { [ -x "$prefix/share/motifbind/workflow/$f" ] || fail "workflow/$f lost its x bit"; }
done

# A finished run: status 0 was checked by the caller; the log echoes the bare
# name motifbind and both files are complete.
finished() { # folder
  head -n 1 "$1/motifbind.log" | grep -q '^\*\*\* Command line: motifbind -' ||
    fail "$1/motifbind.log does not echo the bare name motifbind: $(head -c 80 "$1/motifbind.log")"
  [ "$(tail -n 1 "$1/motifbind.log")" = "*** End of file." ] || fail "$1/motifbind.log is not complete"
  [ "$(tail -n 1 "$1/predictions.txt")" = "*** End of file." ] || fail "$1/predictions.txt is not complete"
}

# --- The bundled example, from its command.txt, as examples/README.md says;
# the build's own motifbind on a second copy must write the same bytes.

for d in data build-data; do
  cp -R "$src/examples/data" "$d"
  rm -f "$d/motifbind.log" "$d/predictions.txt"
done
(cd data && sh command.txt > stdout.txt 2> stderr.txt) ||
  { cat data/stderr.txt >&2; fail "the bundled example failed"; }
finished data
(cd build-data && PATH="$build:$PATH" sh command.txt > stdout.txt 2> stderr.txt) ||
  fail "the bundled example with the build's motifbind failed"
for f in motifbind.log predictions.txt stdout.txt; do
  cmp data/$f build-data/$f || fail "the installed motifbind wrote another $f than the build's"
done
motifbind-eval data > data-eval.txt || fail "motifbind-eval on the bundled example failed"
grep -q 'ROC AUC' data-eval.txt || fail "motifbind-eval printed no ROC AUC"
motifbind-report data --out data-report > data-report.txt || fail "motifbind-report on the bundled example failed"
[ -s data-report/report.html ] || fail "motifbind-report wrote no report.html"

# --- The real-format example through motifbind-prep and the line it prints.

prep() { # program out
  local out=$2
  "$1" --out "$out" \
    --interactions "$src/examples/own/interactions.mitab" --mitab-experiment method \
    --domains "$src/examples/own/domains.interproscan.tsv" --domain-format interproscan --analysis Pfam \
    --evalue 1e-5 --fasta "$src/examples/own/proteins.fasta.gz" --ddi "$src/examples/own/known_domain_pairs.tsv" \
    --holdout 0.2 --seed 7 > "$out.prep" || fail "motifbind-prep --out $out failed"
  sed -n 's/^run: //p' "$out.prep" | tail -n 1
}

# The prefix on PATH: the line runs motifbind by its bare name.
line=$(prep motifbind-prep own)
[ "$line" = 'cd own && $(cat command.txt)' ] || fail "with the prefix on PATH, prep printed: run: $line"
sh -c "$line" > own.stdout 2> own.stderr || { cat own.stderr >&2; fail "the printed line failed"; }
finished own
motifbind-eval own > own-eval.txt || fail "motifbind-eval on the real-format example failed"
grep -q 'ROC AUC' own-eval.txt || fail "motifbind-eval printed no ROC AUC for the held-out pairs"

# The prefix not on PATH: prep, called by its path, names the motifbind
# beside it, quoted, and the line runs as printed.
line=$(PATH=/usr/bin:/bin; prep "$prefix/bin/motifbind-prep" own-off-path)
[ "$line" = "cd own-off-path && PATH='$prefix/bin':\$PATH \$(cat command.txt)" ] ||
  fail "without the prefix on PATH, prep printed: run: $line"
PATH=/usr/bin:/bin sh -c "$line" > own-off-path.stdout 2> own-off-path.stderr ||
  { cat own-off-path.stderr >&2; fail "the printed line without the prefix on PATH failed"; }
finished own-off-path
cmp own/motifbind.log own-off-path/motifbind.log || fail "the two real-format runs differ"

# --- The installed workflow on the real-format example, from raw files to
# the report, as the README's "Your own data" runs it: the programs by their
# bare names, the config the workflow ships. Its motifbind must write what
# the line prep printed wrote above, with the same options and seed.

workflow="$prefix/share/motifbind/workflow"
if command -v snakemake > /dev/null; then
  mkdir -p workflow-run/examples
  cp -R "$src/examples/own" workflow-run/examples/own
  (cd workflow-run && snakemake --cores 2 -s "$workflow/Snakefile" --configfile "$workflow/own.yaml") \
    > workflow-run.out 2>&1 || { cat workflow-run.out >&2; fail "the installed workflow failed on examples/own"; }
  finished workflow-run/out/own/run
  cmp workflow-run/out/own/run/motifbind.log own/motifbind.log ||
    fail "the installed workflow's motifbind.log differs from the run of prep's line"
  [ -s workflow-run/out/own/report/report.html ] || fail "the installed workflow made no report.html"
  ran="the workflow ran"
else
  echo "(snakemake is not installed: the installed workflow is not run)"
  ran="the workflow was not run"
fi

echo "installed into $prefix: ${#programs[@]} programs, both examples ran, $ran"
