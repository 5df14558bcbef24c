#!/usr/bin/env bash
# The report's areas under the ROC curve, on a held-out split made by
# motifbind-prep, against the same areas computed here from the files alone:
# the prediction file, the hold-out lists, the name table and the
# observations.  Usage: holdout-auc.sh BUILD_DIR WORK_DIR
set -euo pipefail
if ! command -v python3 >/dev/null; then
  echo "skipped: python3 is not installed" >&2
  exit 77
fi
bin=$1
work=$2
here=$(cd "$(dirname "$0")" && pwd)
own=$here/../../../examples/own
rm -rf "$work"
mkdir -p "$work"
# The real-format example as the workflow's own.yaml converts and runs it.
run=$work/own
"$bin/tools/motifbind-prep" --out "$run" \
  --interactions "$own/interactions.mitab" --mitab-experiment method \
  --domains "$own/domains.interproscan.tsv" --domain-format interproscan --analysis Pfam --evalue 1e-5 \
  --fasta "$own/proteins.fasta.gz" --ddi "$own/known_domain_pairs.tsv" --holdout 0.2 --seed 7 > /dev/null
read -r -a words < "$run/command.txt"
(cd "$run" && exec -a motifbind "$bin/motifbind" "${words[@]:1}" > stdout.txt 2> stderr.txt)
"$bin/tools/motifbind-report" "$run" --out "$run/report" \
  --truth "$run/holdout_interacting.tsv" "$run/holdout_not_interacting.tsv" > "$run/report.stdout"

python3 - "$run" <<'PY'
import sys, os
run = sys.argv[1]
ids = {}
with open(os.path.join(run, "proteins.tsv")) as f:
    next(f)
    for line in f:
        i, acc = line.split("\t")[:2]
        ids[acc] = int(i)

def pairs(name):
    out = set()
    with open(os.path.join(run, name)) as f:
        next(f)
        for line in f:
            a, b = line.split()
            a, b = ids[a], ids[b]
            out.add((max(a, b), min(a, b)))
    return out

pos, neg = pairs("holdout_interacting.tsv"), pairs("holdout_not_interacting.tsv")
score = {}
with open(os.path.join(run, "predictions.txt")) as f:
    inside = False
    for line in f:
        if line.startswith("***s Predicted non-interaction"):
            inside = True
            continue
        if line.startswith("***e"):
            break
        if inside:
            a, b, q, post = line.rstrip("\n").split("\t")
            p = float(q.split(",")[1]) if post == "H" else float(post)
            score[(int(a), int(b))] = 1.0 - p

partners = {}
with open(os.path.join(run, "ppi_observations.txt")) as f:
    for line in f:
        a, b, v = line.split()[:3]
        if abs(float(v) - 1.0) < 1e-5:
            a, b = int(a), int(b)
            partners.setdefault(a, set()).add(b)
            partners.setdefault(b, set()).add(a)
degree = lambda p: len(partners.get(p, ()))

def auc(s):
    # Every (interacting, not) pair: a win counts 1, a tie a half.
    won = 0.0
    for p in pos:
        for n in neg:
            won += 1.0 if s(p) > s(n) else 0.5 if s(p) == s(n) else 0.0
    return won / (len(pos) * len(neg))

model = "%.3f" % auc(lambda p: score[p])
base = "%.3f" % auc(lambda p: degree(p[0]) * degree(p[1]))
text = open(os.path.join(run, "report.stdout")).read()
print(text, end="")
print("independent: motifbind %s, degree-only baseline %s" % (model, base))
assert ("motifbind: ROC AUC %s," % model) in text, "motifbind AUC differs"
assert ("degree-only baseline: ROC AUC %s," % base) in text, "baseline AUC differs"
PY
