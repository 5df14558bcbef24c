#!/usr/bin/env bash
# Submits motifbind's perturbation analysis to SLURM as a job array, one
# shard per task, and the merge as a job that starts once every task has
# succeeded (--dependency=afterok). Run it again after a failure: it submits
# only the shards not yet done, then the merge.
#
#   workflow/slurm/submit.sh [--wait] [SETTINGS]
#
# SETTINGS defaults to workflow/slurm/settings.sh. --wait returns when the
# merge has ended, with status 0 only if it succeeded.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

wait=()
if [ "${1:-}" = --wait ]; then
  wait=(--wait)
  shift
fi
settings=${1:-$here/settings.sh}
[ -f "$settings" ] || { echo "Error: no settings file $settings" >&2; exit 2; }

sbatch_options=() f=() d=()
e= b= l= p= s= n=
# shellcheck source=settings.sh
source "$settings"

die() { echo "Error: $*" >&2; exit 2; }
absolute() { case $1 in /*) echo "$1" ;; *) echo "$(pwd)/$1" ;; esac; }
# A bare name is looked up on PATH; a path must survive the jobs' cd.
program() { case $1 in */*) absolute "$1" ;; *) echo "$1" ;; esac; }

for v in motifbind merge outdir shards threads interactions model_types protein_motifs active_pairs \
         inactive_pairs waiting_pairs predict_interaction_pairs predict_binding_pairs prior_pos \
         protein_lengths leak_pairs motif_coverage; do
  [ -n "${!v:-}" ] || die "$settings sets no $v"
done
[[ $shards =~ ^[1-9][0-9]*$ ]] || die "shards must be a whole number of at least 1, got '$shards'"
[[ $threads =~ ^[1-9][0-9]*$ ]] || die "threads must be a whole number of at least 1, got '$threads'"

motifbind=$(program "$motifbind")
merge=$(program "$merge")
outdir=$(absolute "$outdir")

# Leading options in the order the log echoes them, then the positional ones;
# the log and prediction file are named alike in every shard and the merge.
args=()
[ -z "$e" ] || args+=(-e "$e")
[ -z "$b" ] || args+=(-b "$b")
[ ${#f[@]} -eq 0 ] || { [ ${#f[@]} -eq 2 ] || die "f needs (numprot nummot)"; args+=(-f "${f[@]}"); }
[ -z "$l" ] || args+=(-l "$l")
[ -z "$p" ] || args+=(-p "$p")
[ -z "$s" ] || args+=(-s "$s")
if [ ${#d[@]} -gt 0 ]; then
  [ ${#d[@]} -eq 3 ] || die "d needs (ddi_file ddi_model_file ddi_opt_file)"
  args+=(-d "$(absolute "${d[0]}")" "$(absolute "${d[1]}")" "$(absolute "${d[2]}")")
fi
[ -z "$n" ] || args+=(-n "$n")
for v in interactions model_types protein_motifs active_pairs inactive_pairs waiting_pairs; do
  args+=("$(absolute "${!v}")")
done
args+=(motifbind.log predictions.txt
       "$(absolute "$predict_interaction_pairs")" "$(absolute "$predict_binding_pairs")" "$prior_pos"
       "$(absolute "$protein_lengths")" "$leak_pairs" "$(absolute "$motif_coverage")")

# What the jobs read. Shards of other settings in the same folder would not
# merge, so a changed command needs a folder of its own.
mkdir -p "$outdir/slurm"
resolved=$(declare -p motifbind merge outdir shards threads args)
if [ -f "$outdir/job-settings.sh" ]; then
  [ "$(cat "$outdir/job-settings.sh")" = "$resolved" ] ||
    die "$outdir holds shards of other settings; remove it or choose another outdir"
else
  printf '%s\n' "$resolved" > "$outdir/job-settings.sh"
fi

if [ -e "$outdir/done" ]; then
  echo "Nothing to do: $outdir holds the merged outputs."
  exit 0
fi

# A shard is done once its task wrote the marker after motifbind succeeded.
todo=()
for ((i = 0; i < shards; i++)); do
  [ -e "$outdir/shards/$i/done" ] || todo+=("$i")
done

common=(--parsable --mem="${mem_mb:-1000}" --time="${minutes:-60}" "${sbatch_options[@]}")
dependency=()
if [ ${#todo[@]} -gt 0 ]; then
  list=$(IFS=,; echo "${todo[*]}")
  array_job=$(sbatch "${common[@]}" --job-name=motifbind-shard --array="$list" --cpus-per-task="$threads" \
                --output="$outdir/slurm/shard-%a.out" "$here/shards.sbatch" "$outdir/job-settings.sh")
  array_job=${array_job%%;*}
  echo "Shards $list: array job $array_job"
  dependency=(--dependency="afterok:$array_job" --kill-on-invalid-dep=yes)
fi
# sbatch --wait reports a merge cancelled for a failed shard as success, so
# the merge's marker is what tells.
status=0
merge_job=$(sbatch "${common[@]}" "${wait[@]}" --job-name=motifbind-merge --cpus-per-task=1 "${dependency[@]}" \
              --output="$outdir/slurm/merge.out" "$here/merge.sbatch" "$outdir/job-settings.sh") || status=$?
[ -z "$merge_job" ] || echo "Merge: job ${merge_job%%;*}"
if [ $status -ne 0 ] || { [ ${#wait[@]} -gt 0 ] && [ ! -e "$outdir/done" ]; }; then
  echo "Error: the merge did not succeed (a failed shard cancels it); job logs in $outdir/slurm/" >&2
  exit 1
fi
