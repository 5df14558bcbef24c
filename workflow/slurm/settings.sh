# Settings for workflow/slurm/submit.sh: the bundled example
# (examples/data/command.txt) in four shards. Bash; relative paths are
# relative to the folder submit.sh runs in, here the repository root.

# The programs: a path, or a bare name found on PATH on the compute nodes.
motifbind=build/release/motifbind
merge=build/release/tools/motifbind-merge

# Where the shards (shards/0/ ... shards/N-1/), the merged outputs
# (motifbind.log, predictions.txt, stdout.txt) and the job logs (slurm/) go;
# on a file system every node sees.
outdir=out/slurm-example

# Number of blocks of perturbation cycles, one array task each.
shards=4

# Per job: motifbind -t (and --cpus-per-task), memory, time limit.
threads=1
mem_mb=1000
minutes=60
# More sbatch options for every job, e.g. (--partition=long --account=mylab).
sbatch_options=()

# Leading options; leave one empty for motifbind's default.
e=1                       # estimator: 1 a shared DDI state per motif pair (default 0)
b=200                     # pseudo-counts on the binary noise models (default 0)
f=(300 60)                # numprot nummot
l=1                       # leak type
p=1                       # perturbation type
s=10                      # perturb motifs with ids below this
d=(examples/data/ddi_observations.txt examples/data/ddi_models.txt examples/data/ddi_options.txt)
n=                        # Dirichlet prior Neg / Pos

# The positional arguments but the log and the prediction file, which are
# motifbind.log and predictions.txt in every shard and in outdir.
interactions=examples/data/ppi_observations.txt
model_types=examples/data/ppi_models.txt
protein_motifs=examples/data/protein_motifs.txt
active_pairs=examples/data/active_motif_pairs.txt
inactive_pairs=examples/data/inactive_motif_pairs.txt
waiting_pairs=examples/data/waiting_motif_pairs.txt
predict_interaction_pairs=examples/data/predict_interaction_pairs.txt
predict_binding_pairs=examples/data/predict_binding_pairs.txt
prior_pos=0.1
protein_lengths=examples/data/protein_lengths.txt
leak_pairs=10000
motif_coverage=examples/data/motif_coverage.txt
