#!/usr/bin/env bash
# The bundled example run twice, with the default estimator and with the
# shared motif-level state and pseudo-counts (-e 1 -b 200): the report of the
# first flags its degenerate estimates (notice and one warning line), that of
# the second does not. The recovery after each EM phase that the report and
# motifbind-eval print is checked against the same numbers computed here from
# the log and the truth files alone.
# Usage: example-degeneracy.sh BUILD_DIR WORK_DIR
set -euo pipefail
if ! command -v python3 >/dev/null; then
  echo "skipped: python3 is not installed" >&2
  exit 77
fi
bin=$(cd "$1" && pwd)
work=$2
root=$(cd "$(dirname "$0")/../../.." && pwd)
rm -rf "$work"
mkdir -p "$work"
read -r -a line < "$root/examples/data/command.txt"
# The example's command line without its estimator options, which each run
# below sets itself.
words=()
i=1
while [ "$i" -lt "${#line[@]}" ]; do
  case "${line[$i]}" in
    -e | -b) i=$((i + 2)) ;;
    *) words+=("${line[$i]}"); i=$((i + 1)) ;;
  esac
done
for run in default shared; do
  cp -R "$root/examples/data" "$work/$run"
  rm -f "$work/$run/motifbind.log" "$work/$run/predictions.txt"
  lead=()
  if [ "$run" = shared ]; then lead=(-e 1 -b 200); fi
  (cd "$work/$run" && exec -a motifbind "$bin/motifbind" "${lead[@]}" "${words[@]}" > stdout.txt 2> stderr.txt)
  "$bin/tools/motifbind-report" "$work/$run" --out "$work/$run/report" > "$work/$run/report.out" 2> "$work/$run/report.err"
  "$bin/tools/motifbind-eval" "$work/$run" > "$work/$run/eval.out"
done

python3 - "$work" <<'PY'
import sys, os
work = sys.argv[1]

def read(path):
    with open(path) as f:
        return f.read()

def ranks(v):
    order = sorted(range(len(v)), key=lambda i: v[i])
    r = [0.0] * len(v)
    i = 0
    while i < len(order):
        j = i
        while j + 1 < len(order) and v[order[j + 1]] == v[order[i]]:
            j += 1
        for k in range(i, j + 1):
            r[order[k]] = (i + j) / 2 + 1
        i = j + 1
    return r

def spearman(x, y):
    rx, ry = ranks(x), ranks(y)
    mx, my = sum(rx) / len(rx), sum(ry) / len(ry)
    sxy = sum((a - mx) * (b - my) for a, b in zip(rx, ry))
    sxx = sum((a - mx) ** 2 for a in rx)
    syy = sum((b - my) ** 2 for b in ry)
    return sxy / (sxx * syy) ** 0.5

def key(a, b):
    return (max(a, b), min(a, b))

labels = ["without domain-domain evidence", "with domain-domain evidence"]
for run in ["default", "shared"]:
    d = os.path.join(work, run)
    log = read(os.path.join(d, "motifbind.log")).split("\n")
    truth = {}
    for line in read(os.path.join(d, "truth_affinities.txt")).split("\n"):
        f = line.split()
        if f:
            truth[key(int(f[0]), int(f[1]))] = float(f[2])
    # Which state each model serves: the observation files name a model in
    # their fourth field for state 0, in their fifth for state 1 (the
    # example's model files number their models 0, 1, ... in order).
    def states(name, option_file=None):
        s = {}
        for line in read(os.path.join(d, name)).split("\n"):
            f = line.split()
            if f:
                for col, state in ((3, 0), (4, 1)):
                    s.setdefault(int(f[col]), set()).add(state)
        return s
    ppi_states = states("ppi_observations.txt")
    ddi_states = states("ddi_observations.txt")
    for line in read(os.path.join(d, "ddi_options.txt")).split("\n"):
        f = line.split()
        if f:
            ddi_states.setdefault(int(f[2]), set()).add(0)
            ddi_states.setdefault(int(f[3]), set()).add(1)

    # Each phase: the dumps after its summary line, up to the next phase
    # banner or the domain-domain round.
    summaries = [i for i, l in enumerate(log) if l.startswith("*** Total # EM round and joint prob:")]
    assert len(summaries) == 2, summaries
    expect_aff, expect_rates = [], []
    for p, start in enumerate(summaries):
        end = next(i for i in range(start + 1, len(log))
                   if log[i].startswith("****** initializing DDI") or log[i].startswith("Joint prob before")
                   or log[i] == "*** End of file.")
        block = log[start:end]
        a = block.index("***s Motif pair affinity:") + 1
        learned = {}
        while block[a] != "***e Motif pair affinity.":
            m1, m2, x = block[a].split("\t")
            learned[key(int(m1), int(m2))] = float(x)
            a += 1
        pairs = sorted(truth)
        rho = spearman([learned[k] for k in pairs], [truth[k] for k in pairs])
        expect_aff.append("affinities after EM %s: rank correlation %.3f between learned and planted" % (labels[p], rho))
        parts = []
        for banner, name, st in (("****** PPI observatoin model ******", "protein-protein", ppi_states),
                                 ("****** DDI observatoin model ******", "domain-domain", ddi_states)):
            if banner not in block:
                continue
            i = block.index(banner) + 3
            models = []
            while block[i] != "***e Model info.":
                f = block[i].split("\t")
                if f[2] == "OM_BINARY":
                    mid, p0 = int(f[1]), float(f[3])
                    s = st.get(mid, set())
                    if s == {0}:
                        models.append("model %d false-positive rate %.3g" % (mid, 1 - p0))
                    elif s == {1}:
                        models.append("model %d false-negative rate %.3g" % (mid, p0))
                    else:
                        models.append("model %d chance of observing 1 %.3g" % (mid, 1 - p0))
                i += 1
            parts.append(name + " " + ", ".join(models))
        expect_rates.append("noise models after EM %s: %s" % (labels[p], "; ".join(parts)))

    # The example ranks all of its motif pairs: each has enough binding
    # variables, as motifbind-eval's summary says.
    ev = read(os.path.join(d, "eval.out")).split("\n")
    assert any(l.startswith("affinities: rank correlation") and (" over %d of %d active" % (len(truth), len(truth))) in l
               for l in ev), ev
    rep = read(os.path.join(d, "report.out")).split("\n")
    for want in expect_aff:
        assert want + ", over the same %d motif pairs" % len(truth) in ev, (run, want, ev)
        assert want + ", over %d motif pairs" % len(truth) in rep, (run, want, rep)
    for want in expect_rates:
        assert want in ev, (run, want, ev)
        assert want in rep, (run, want, rep)
    print(run, *expect_aff, sep="\n  ")

    # Pairs at interaction probability exactly 1, and those of them that a
    # noise-free observation (model -1 for state 0, value 1) makes certain.
    pred = read(os.path.join(d, "predictions.txt")).split("\n")
    s = next(i for i, l in enumerate(pred) if l.startswith("***s Predicted non-interaction")) + 1
    tied = set()
    while not pred[s].startswith("***e"):
        a, b, q, post = pred[s].split("\t")
        if float(post if post != "H" else q.split(",")[1]) == 0.0:
            tied.add(key(int(a), int(b)))
        s += 1
    certain = set()
    for line in read(os.path.join(d, "ppi_observations.txt")).split("\n"):
        f = line.split()
        if f and int(f[3]) == -1 and abs(float(f[2])) >= 1e-5:
            certain.add(key(int(f[0]), int(f[1])))
    explained = len(tied & certain)

    err = read(os.path.join(d, "report.err"))
    html = read(os.path.join(d, "report", "report.html"))
    if run == "default":
        lines = err.split("\n")[:-1]
        assert len(lines) == 1 and lines[0].startswith("warning: degenerate estimates: "), err
        assert "domain-domain model 0 (non-binding motif pairs) false-positive rate 0" in lines[0], err
        assert "%d listed protein pairs tied at interaction probability exactly 1 (and %d more that a noise-free " \
               "observation makes certain)" % (len(tied) - explained, explained) in lines[0], (err, len(tied), explained)
        assert 'id="degenerate"' in html and "Degenerate estimates:" in html
        print("  %d pairs at probability 1, %d of them made certain by an observation" % (len(tied), explained))
    else:
        assert err == "", err
        assert len(tied) == explained, (len(tied), explained)
        assert 'id="degenerate"' not in html and "Degenerate estimates" not in html
PY
