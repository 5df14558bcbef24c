# Shared by the workflow tests: the example data, the single run to compare
# with, and the comparison. Sourced; expects $here to be this folder.

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

absolute() {
  case $1 in
    /*) echo "$1" ;;
    *) echo "$(pwd)/$1" ;;
  esac
}

# The bundled example, with one observation model made a mixture so that
# standard output carries learning progress, in training and in every cycle.
make_example_data() { # dir
  cp -R "$here/../../examples/data" "$1"
  rm -f "$1/motifbind.log" "$1/predictions.txt"
  printf '0\tOM_BINARY\t0.98\n1\tOM_BINARY\t0.3\n2\tOM_GAUSSIAN\t0\t1\n3\tOM_MIXTURE\t5\t2\t0.5\tOM_GAUSSIAN\t1.5\t1\t0.5\tOM_GAUSSIAN\t2.5\t1\n' \
    > "$1/ppi_models.txt"
}

# The one run without -j that the shards must add up to, written out here
# rather than derived from a config, so a wrong argument order in a workflow
# shows up as a difference.
single_run() { # motifbind data_dir out_dir
  local d=$2
  mkdir -p "$3"
  (cd "$3" && exec -a motifbind "$1" -f 300 60 -l 1 -p 1 -s 10 \
     -d "$d/ddi_observations.txt" "$d/ddi_models.txt" "$d/ddi_options.txt" \
     "$d/ppi_observations.txt" "$d/ppi_models.txt" "$d/protein_motifs.txt" "$d/active_motif_pairs.txt" \
     "$d/inactive_motif_pairs.txt" "$d/waiting_motif_pairs.txt" motifbind.log predictions.txt \
     "$d/predict_interaction_pairs.txt" "$d/predict_binding_pairs.txt" 0.1 "$d/protein_lengths.txt" 10000 \
     "$d/motif_coverage.txt" > stdout.txt 2> stderr.txt) || { cat "$3/stderr.txt" >&2; fail "the single run failed"; }
  [ -s "$3/stdout.txt" ] || fail "the single run wrote nothing to standard output"
  grep -q "Joint prob before perturbation" "$3/motifbind.log" || fail "the single run did no perturbation analysis"
}

# The workflow config of the single run, paths relative to the folder
# snakemake runs in, as a user would write them; motifbind and merge at the
# top level, as the first version's configs named them.
write_config() { # outdir motifbind merge report
  cat <<EOF
motifbind: $2
merge: $3
programs:
  report: $4
outdir: $1
shards: 3
threads: 1
options:
  f: [300, 60]
  l: 1
  p: 1
  s: 10
  d: [data/ddi_observations.txt, data/ddi_models.txt, data/ddi_options.txt]
inputs:
  interactions: data/ppi_observations.txt
  model_types: data/ppi_models.txt
  protein_motifs: data/protein_motifs.txt
  active_pairs: data/active_motif_pairs.txt
  inactive_pairs: data/inactive_motif_pairs.txt
  waiting_pairs: data/waiting_motif_pairs.txt
  predict_interaction_pairs: data/predict_interaction_pairs.txt
  predict_binding_pairs: data/predict_binding_pairs.txt
  prior_pos: 0.1
  protein_lengths: data/protein_lengths.txt
  leak_pairs: 10000
  motif_coverage: data/motif_coverage.txt
EOF
}

same_as_single() { # merged_dir single_dir
  local f
  for f in motifbind.log predictions.txt stdout.txt; do
    [ -f "$1/$f" ] || fail "no merged $f in $1"
    cmp "$1/$f" "$2/$f" || fail "merged $f differs from the single run's"
  done
}

# motifbind as it is, except that block 1 leaves a partial log and fails
# while the flag file exists.
make_failing_motifbind() { # motifbind wrapper_path flag_file
  mkdir -p "$(dirname "$2")"
  cat > "$2" <<EOF
#!/usr/bin/env bash
if [ "\$1 \$2" = "-j 1" ] && [ -e "$3" ]; then
  echo partial > motifbind.log
  echo "Error: made to fail" >&2
  exit 2
fi
exec -a motifbind "$1" "\$@"
EOF
  chmod +x "$2"
}

# Changes when a file is written anew.
stamp() { stat -c '%i %y' "$1"; }
