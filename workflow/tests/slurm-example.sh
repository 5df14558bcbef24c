#!/usr/bin/env bash
# Both cluster routes on a one-node SLURM cluster started here for the test:
# workflow/slurm/submit.sh (job array, then the merge after afterok) with a
# failing shard, which must cancel the merge, then submitted again, which must
# run that shard alone; and the Snakemake workflow unchanged through
# --cluster sbatch. Each must write what one run without -j writes. Last the
# workflow from raw files (examples/own) in two shards through sbatch: prep
# and the shards as jobs, the merge and the report where snakemake runs.
#
#   workflow/tests/slurm-example.sh MOTIFBIND MOTIFBIND_MERGE MOTIFBIND_REPORT MOTIFBIND_PREP WORK_DIR
#
# Exits 77 (skipped), saying why, where the daemons cannot be had or started.
set -euo pipefail
[ $# -eq 5 ] || { echo "usage: $0 MOTIFBIND MOTIFBIND_MERGE MOTIFBIND_REPORT MOTIFBIND_PREP WORK_DIR" >&2; exit 2; }
skip() {
  echo "SKIP: $*"
  exit 77
}
for c in munged slurmctld slurmd sbatch sinfo squeue scancel; do
  command -v "$c" >/dev/null || skip "$c is not installed (apt-get install slurm-wlm munge)"
done
[ "$(id -u)" = 0 ] || skip "slurmd must run as root to start jobs"

here=$(cd "$(dirname "$0")" && pwd)
source "$here/support.sh"
motifbind=$(absolute "$1")
merge=$(absolute "$2")
report=$(absolute "$3")
prep=$(absolute "$4")
work=$5

rm -rf "$work"
mkdir -p "$work"
work=$(cd "$work" && pwd)
# A short path: the munge socket's must fit a socket address.
cluster=$(mktemp -d /tmp/motifbind-slurm.XXXXXX)

# Only the daemons started here, each by the pid it wrote.
stop_daemons() {
  local name pid
  if [ -f "$cluster/slurmctld.pid" ]; then
    squeue -h -o %A 2>/dev/null | xargs -r scancel 2>/dev/null || true
  fi
  for name in slurmd slurmctld munged; do
    [ -f "$cluster/$name.pid" ] || continue
    pid=$(cat "$cluster/$name.pid")
    kill "$pid" 2>/dev/null || continue
    for _ in $(seq 50); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.2
    done
    kill -9 "$pid" 2>/dev/null || true
  done
  rm -rf "$cluster"
}
trap stop_daemons EXIT

free_port() {
  local port
  for _ in $(seq 100); do
    port=$((20000 + RANDOM % 40000))
    if ! (exec 3<> "/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
      echo "$port"
      return
    fi
  done
  skip "no free port on 127.0.0.1"
}

echo "== a one-node cluster on localhost (at ${SECONDS} s)"
if command -v mungekey >/dev/null; then
  mungekey --create --keyfile="$cluster/munge.key" || skip "mungekey cannot create a key"
else
  dd if=/dev/urandom of="$cluster/munge.key" bs=1024 count=1 status=none
fi
chmod 600 "$cluster/munge.key"
munged --force --socket="$cluster/munge.socket" --key-file="$cluster/munge.key" \
  --log-file="$cluster/munged.log" --pid-file="$cluster/munged.pid" --seed-file="$cluster/munged.seed" ||
  skip "munged does not start: $(tail -n 3 "$cluster/munged.log" 2>/dev/null)"

mkdir -p "$cluster/spool" "$cluster/state"
ctld_port=$(free_port)
slurmd_port=$(free_port)
[ "$ctld_port" != "$slurmd_port" ] || slurmd_port=$((ctld_port + 1))
# Memory below what the machine has, or slurmd calls the node invalid.
mem=$(awk '/^MemTotal:/ { print int($2 / 1024 * 0.8) }' /proc/meminfo)
cat > "$cluster/slurm.conf" <<EOF
ClusterName=motifbindtest
SlurmctldHost=localhost
SlurmctldPort=$ctld_port
SlurmdPort=$slurmd_port
SlurmUser=root
AuthType=auth/munge
CredType=cred/munge
AuthInfo=socket=$cluster/munge.socket
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
SelectType=select/cons_tres
SelectTypeParameters=CR_Core
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
MpiDefault=none
ReturnToService=2
SchedulerParameters=sched_interval=1
SlurmdSpoolDir=$cluster/spool
StateSaveLocation=$cluster/state
SlurmctldPidFile=$cluster/slurmctld.pid
SlurmdPidFile=$cluster/slurmd.pid
SlurmctldLogFile=$cluster/slurmctld.log
SlurmdLogFile=$cluster/slurmd.log
NodeName=localhost NodeAddr=127.0.0.1 CPUs=$(nproc) RealMemory=$mem State=UNKNOWN
PartitionName=test Nodes=localhost Default=YES MaxTime=INFINITE State=UP
EOF
export SLURM_CONF=$cluster/slurm.conf
slurmctld || skip "slurmctld does not start: $(tail -n 3 "$cluster/slurmctld.log" 2>/dev/null)"
slurmd -N localhost || skip "slurmd does not start: $(tail -n 3 "$cluster/slurmd.log" 2>/dev/null)"
state=
for _ in $(seq 60); do
  state=$(sinfo -h -N -n localhost -o %t 2>/dev/null || true)
  [ "$state" = idle ] && break
  sleep 0.5
done
[ "$state" = idle ] ||
  skip "the node does not come up (state '${state}'): $(tail -n 3 "$cluster/slurmd.log" 2>/dev/null)"

make_example_data "$work/data"
single_run "$motifbind" "$work/data" "$work/single"

# Paths relative to the folder submit.sh runs in, as a user would write them.
make_failing_motifbind "$motifbind" "$work/bin/motifbind" "$work/fail-shard-1"
cat > "$work/settings.sh" <<EOF
motifbind=bin/motifbind
merge=$merge
outdir=out
shards=3
threads=1
mem_mb=200
minutes=5
f=(300 60)
l=1
p=1
s=10
d=(data/ddi_observations.txt data/ddi_models.txt data/ddi_options.txt)
interactions=data/ppi_observations.txt
model_types=data/ppi_models.txt
protein_motifs=data/protein_motifs.txt
active_pairs=data/active_motif_pairs.txt
inactive_pairs=data/inactive_motif_pairs.txt
waiting_pairs=data/waiting_motif_pairs.txt
predict_interaction_pairs=data/predict_interaction_pairs.txt
predict_binding_pairs=data/predict_binding_pairs.txt
prior_pos=0.1
protein_lengths=data/protein_lengths.txt
leak_pairs=10000
motif_coverage=data/motif_coverage.txt
EOF

submit() {
  (cd "$work" && timeout 120 "$here/../slurm/submit.sh" --wait settings.sh) > "$work/submit.out" 2>&1
}

echo "== a job array with a failing shard: the merge never runs (at ${SECONDS} s)"
touch "$work/fail-shard-1"
if submit; then
  fail "submit.sh succeeded with a failing shard"
fi
grep -q "^Shards 0,1,2: array job" "$work/submit.out" || fail "the array did not hold the three shards: $(cat "$work/submit.out")"
[ ! -e "$work/out/shards/1/done" ] || fail "the failed shard counts as done"
grep -q "made to fail" "$work/out/slurm/shard-1.out" || fail "the failed shard's error is not in its job log"
for i in 0 2; do
  [ -e "$work/out/shards/$i/done" ] || fail "shard $i is not done after shard 1 failed"
done
for f in done motifbind.log predictions.txt stdout.txt; do
  [ ! -e "$work/out/$f" ] || fail "the merge wrote $f although a shard failed"
done

echo "== submitted again: the failed shard alone, then the merge (at ${SECONDS} s)"
before0=$(stamp "$work/out/shards/0/motifbind.log")
before2=$(stamp "$work/out/shards/2/motifbind.log")
rm "$work/fail-shard-1"
submit || { cat "$work/submit.out" "$work"/out/slurm/*.out; fail "submit.sh failed"; }
grep -q "^Shards 1: array job" "$work/submit.out" || fail "the array was not shard 1 alone: $(cat "$work/submit.out")"
[ "$(stamp "$work/out/shards/0/motifbind.log")" = "$before0" ] || fail "shard 0 ran again"
[ "$(stamp "$work/out/shards/2/motifbind.log")" = "$before2" ] || fail "shard 2 ran again"
same_as_single "$work/out" "$work/single"
submit || fail "submit.sh failed on a finished run"
grep -q "^Nothing to do" "$work/submit.out" || fail "a finished run was submitted again: $(cat "$work/submit.out")"

if command -v snakemake >/dev/null; then
  echo "== the Snakemake workflow, unchanged, through sbatch (at ${SECONDS} s)"
  write_config out-snakemake "$motifbind" "$merge" "$report" > "$work/config.yaml"
  mkdir -p "$work/cluster-logs"
  (cd "$work" && timeout 240 snakemake -s "$here/../Snakefile" --configfile config.yaml --jobs 3 \
     --cluster "sbatch -c {threads} --mem={resources.mem_mb} -t {resources.runtime} -o cluster-logs/%j.out" \
     --latency-wait 10) > "$work/snakemake.out" 2>&1 || {
    cat "$work/snakemake.out" "$work"/cluster-logs/*.out 2>/dev/null
    fail "the workflow failed on the cluster"
  }
  ran=$(grep -c "Submitted job .* with external jobid" "$work/snakemake.out" || true)
  [ "$ran" = 3 ] || fail "expected the three shards as cluster jobs, snakemake submitted $ran"
  same_as_single "$work/out-snakemake" "$work/single"

  echo "== from raw files to a report, in two shards through sbatch (at ${SECONDS} s)"
  mkdir -p "$work/examples"
  cp -R "$here/../../examples/own" "$work/examples/own"
  cat > "$work/own-cluster.yaml" <<EOF
programs:
  prep: $prep
  motifbind: $motifbind
  merge: $merge
  report: $report
outdir: out-own
shards: 2
mem_mb: 200
runtime: 5
prep:
  pertype: 1
  pertsize: 2
EOF
  (cd "$work" && timeout 400 snakemake -s "$here/../Snakefile" --configfile "$here/../own.yaml" own-cluster.yaml \
     --jobs 3 --cluster "sbatch -c {threads} --mem={resources.mem_mb} -t {resources.runtime} -o cluster-logs/%j.out" \
     --latency-wait 10) > "$work/snakemake.out" 2>&1 || {
    cat "$work/snakemake.out" "$work"/cluster-logs/*.out 2>/dev/null
    fail "the workflow from raw files failed on the cluster"
  }
  ran=$(grep -c "Submitted job .* with external jobid" "$work/snakemake.out" || true)
  [ "$ran" = 3 ] || fail "expected prep and the two shards as cluster jobs, snakemake submitted $ran"
  [ "$(tail -n 1 "$work/out-own/run/motifbind.log")" = "*** End of file." ] || fail "the merged log is not complete"
  grep -q "Joint prob before perturbation" "$work/out-own/run/motifbind.log" ||
    fail "the merged log holds no perturbation analysis"
  [ -s "$work/out-own/report/report.html" ] || fail "no report.html from the cluster run"
else
  echo "(snakemake is not installed: its cluster run is left out)"
fi

echo "PASS: the SLURM routes write what one run writes (${SECONDS} s)"
