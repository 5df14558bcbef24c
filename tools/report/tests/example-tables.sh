#!/usr/bin/env bash
# The report of the bundled example, table by table, against the run's own
# prediction file and log, re-read here with plain splitting; and its page
# parsed as HTML: balanced, self-contained, every plot drawn.
# Usage: example-tables.sh BUILD_DIR WORK_DIR
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
cp -R "$root/examples/data" "$work/run"
rm -f "$work/run/motifbind.log" "$work/run/predictions.txt"
(cd "$work/run" && PATH="$bin:$PATH" sh command.txt > stdout.txt)
"$bin/tools/motifbind-report" "$work/run" --out "$work/report" > /dev/null

python3 - "$work" <<'PY'
import sys, os, html.parser
work = sys.argv[1]
run, rep = os.path.join(work, "run"), os.path.join(work, "report")
lines = open(os.path.join(run, "predictions.txt")).read().split("\n")
log = open(os.path.join(run, "motifbind.log")).read().split("\n")

def table(name):
    rows = [l.split("\t") for l in open(os.path.join(rep, name)).read().split("\n") if l]
    return rows[0], rows[1:]

def section(start):
    i = next(k for k, l in enumerate(lines) if l.startswith(start)) + 1
    out = []
    while not lines[i].startswith("***e"):
        out.append(lines[i].split("\t"))
        i += 1
    return out

# interactions.tsv: every row of the file, most likely interacting first.
pred = section("***s Predicted non-interaction")
head, rows = table("interactions.tsv")
assert len(rows) == len(pred), (len(rows), len(pred))
want = {}
for a, b, q, post in pred:
    qw, qc = q.split(",")
    want[(a, b)] = (qw, qc, "" if post == "H" else post)
for r in rows:
    assert want[(r[0], r[1])] == (r[3], r[4], r[5]), r
    p = 1 - float(r[5] if r[5] else r[4])
    assert abs(float(r[2]) - p) < 1e-12, r
probs = [float(r[2]) for r in rows]
assert probs == sorted(probs, reverse=True)

# binding.tsv: every binding variable, by posterior.
bind = section("***s Binding variable")
head, rows = table("binding.tsv")
assert len(rows) == len(bind), (len(rows), len(bind))
want = sorted((p1, p2, m1, m2, a.split(",")[0], a.split(",")[1], "" if post == "H" else post)
              for p1, p2, m1, m2, a, post in bind)
assert sorted(tuple(r) for r in rows) == want

# motif_pairs.tsv: the last unconditioned affinity dump after the last phase.
last = max(k for k, l in enumerate(log) if l.startswith("*** Total # EM round and joint prob:"))
i = next(k for k in range(last, len(log)) if log[k] == "****** Potential without conditioning ******") + 2
learned = {}
while not log[i].startswith("***e"):
    m1, m2, a = log[i].split("\t")
    learned[(m1, m2)] = a
    i += 1
head, rows = table("motif_pairs.tsv")
assert {(r[0], r[1]): r[2] for r in rows} == learned
aff = [float(r[2]) for r in rows]
assert aff == sorted(aff, reverse=True)

# perturbation.tsv: one row per cycle (-p 1 writes six lines per cycle).
cycles = [l for l in log if l.startswith("*** Likelihood change after reconverge")]
head, rows = table("perturbation.tsv")
assert len(rows) == len(cycles) > 0
for r, l in zip(rows, cycles):
    assert r[-1] == l.split("\t")[-1], (r, l)

# report.html: balanced tags, nothing fetched, every plot drawn.
class Check(html.parser.HTMLParser):
    VOID = {"meta", "link", "br", "hr", "img", "input", "col"}
    def __init__(self):
        super().__init__()
        self.stack, self.svgs, self.current = [], {}, None
    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        assert tag != "script"
        for k in ("href", "src"):
            v = a.get(k, "")
            assert not v.startswith(("http:", "https:", "//")), v
        if tag == "svg":
            self.current = a.get("id")
            self.svgs[self.current] = 0
        elif self.current and tag in ("rect", "path", "polyline", "line", "circle"):
            self.svgs[self.current] += 1
        if tag not in self.VOID:
            self.stack.append(tag)
    def handle_startendtag(self, tag, attrs):
        self.handle_starttag(tag, attrs)
        if tag not in self.VOID:
            self.stack.pop()
    def handle_endtag(self, tag):
        assert self.stack and self.stack[-1] == tag, (tag, self.stack[-5:])
        self.stack.pop()
        if tag == "svg":
            self.current = None
c = Check()
c.feed(open(os.path.join(rep, "report.html")).read())
assert not c.stack, c.stack
for plot in ("em-plot", "probability-plot", "motif-pair-plot", "perturbation-plot"):
    assert c.svgs.get(plot, 0) > 0, (plot, c.svgs)
print("tables and page agree with the run:", len(pred), "pairs,", len(bind), "binding variables,",
      len(learned), "motif pairs,", len(cycles), "cycles")
PY
