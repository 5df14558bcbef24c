#!/usr/bin/env python3
"""Writes the files of examples/own from a set sampled by motifbind-sim.

The proteins, domains and interactions are synthetic (sampled from the model
motifbind learns), but every file is in the format a biologist downloads:
PSI-MITAB 2.5 interactions from two detection methods, InterProScan TSV
domain annotations (Pfam and SMART), a gzip-compressed FASTA file and a list
of known interacting domain families. Accessions are UniProtKB-shaped,
families carry made-up Pfam-style accessions above PF90000.

Usage: generate.py SIM_FOLDER OUT_FOLDER
"""
import gzip
import hashlib
import os
import random
import sys

sim, out = sys.argv[1], sys.argv[2]
rng = random.Random(20261209)


def records(name, fields):
    words = open(os.path.join(sim, name)).read().split()
    return [words[i:i + fields] for i in range(0, len(words), fields)]


def acc(p):
    return "Q%05d" % (10000 + int(p))


def fam(m):
    return "PF%05d" % (90000 + int(m))


lengths = {int(p): int(n) for p, n in records("protein_lengths.txt", 2)}
coverage = {int(p): int(n) for p, n in records("motif_coverage.txt", 2)}
motifs = {}
for p, m, n in records("protein_motifs.txt", 3):
    motifs.setdefault(int(p), []).append((int(m), int(n)))

# Interactions: a pair with a binary assay result 1 is reported, by one of two
# methods; now and then a pair is listed again in the other order, and a few
# lines name a small molecule, which has no UniProtKB accession.
methods = ['psi-mi:"MI:0018"(two hybrid)', 'psi-mi:"MI:0004"(affinity chromatography technology)']
reported = set()
for a, b, val, m0, m1 in records("ppi_observations.txt", 5):
    if m0 == "0" and float(val) == 1.0:
        reported.add((max(int(a), int(b)), min(int(a), int(b))))
lines = ["#ID(s) interactor A\tID(s) interactor B\tAlt. ID(s) interactor A\tAlt. ID(s) interactor B\t"
         "Alias(es) interactor A\tAlias(es) interactor B\tInteraction detection method(s)\tPublication 1st author(s)\t"
         "Publication Identifier(s)\tTaxid interactor A\tTaxid interactor B\tInteraction type(s)\t"
         "Source database(s)\tInteraction identifier(s)\tConfidence value(s)"]
n = 0
for a, b in sorted(reported):
    for x, y in ([(a, b), (b, a)] if rng.random() < 0.1 else [(a, b)]):
        n += 1
        ida = "intact:EBI-%d|uniprotkb:%s" % (100000 + x, acc(x)) if rng.random() < 0.3 else "uniprotkb:" + acc(x)
        lines.append("\t".join([
            ida, "uniprotkb:" + acc(y), "intact:EBI-%d" % (100000 + x), "intact:EBI-%d" % (100000 + y),
            "psi-mi:prot%d_human(display_short)" % x, "psi-mi:prot%d_human(display_short)" % y,
            methods[rng.random() < 0.4], "Example et al. (2026)", "pubmed:%d" % (30000000 + n),
            "taxid:9606(human)", "taxid:9606(human)", 'psi-mi:"MI:0915"(physical association)',
            'psi-mi:"MI:0469"(IntAct)', "intact:EBI-%d" % (900000 + n), "intact-miscore:0.%02d" % rng.randrange(30, 99)]))
for i in range(3):
    lines.append("\t".join(["chebi:\"CHEBI:%d\"" % (15422 + i), "uniprotkb:" + acc(i), "-", "-", "-", "-",
                            methods[0], "Example et al. (2026)", "pubmed:39999999", "-", "taxid:9606(human)",
                            'psi-mi:"MI:0915"(physical association)', 'psi-mi:"MI:0469"(IntAct)',
                            "intact:EBI-99999%d" % i, "-"]))
open(os.path.join(out, "interactions.mitab"), "w").write("\n".join(lines) + "\n")

# Sequences: random residues of the planted lengths.
residues = "ACDEFGHIKLMNPQRSTVWY"
seqs = {p: "".join(rng.choice(residues) for _ in range(n)) for p, n in lengths.items()}
with gzip.open(os.path.join(out, "proteins.fasta.gz"), "wt") as f:
    for p in sorted(seqs):
        f.write(">sp|%s|PROT%d_HUMAN Example protein %d OS=Homo sapiens OX=9606\n" % (acc(p), p, p))
        s = seqs[p]
        for i in range(0, len(s), 60):
            f.write(s[i:i + 60] + "\n")

# Domains: each motif as one range, or two for a repeated one; ranges overlap
# so that their union is the planted coverage. A SMART line doubles some Pfam
# hits, as InterProScan reports every member database.
rows = []
for p in sorted(motifs):
    md5 = hashlib.md5(seqs[p].encode()).hexdigest()
    end = 0
    for m, n in motifs[p]:
        start = min(end + 1, coverage[p] - n + 1)
        parts = [(start, start + n - 1)] if n < 40 or rng.random() < 0.5 else \
            [(start, start + n // 2 - 1), (start + n // 2, start + n - 1)]
        for s, e in parts:
            ev = "%.1E" % (10 ** rng.uniform(-30, -4))
            rows.append([acc(p), md5, str(lengths[p]), "Pfam", fam(m) + ".%d" % (5 + m % 25),
                         "Example domain %d" % m, str(s), str(e), ev, "T", "09-12-2026", "IPR9%05d" % m,
                         "Example domain %d" % m])
            if rng.random() < 0.2:
                rows.append([acc(p), md5, str(lengths[p]), "SMART", "SM9%04d" % m, "EXD%d" % m, str(s), str(e),
                             "%.1E" % (10 ** rng.uniform(-20, -3)), "T", "09-12-2026", "IPR9%05d" % m,
                             "Example domain %d" % m])
        end = max(end, start + n - 1)
open(os.path.join(out, "domains.interproscan.tsv"), "w").write("".join("\t".join(r) + "\n" for r in rows))

# Known interacting domain families: the pairs the simulated database reports.
known = sorted({(int(a), int(b)) for a, b, val, m0, m1 in records("ddi_observations.txt", 5) if float(val) == 1.0})
with open(os.path.join(out, "known_domain_pairs.tsv"), "w") as f:
    f.write("# domain family pairs known to bind\n")
    for a, b in known:
        f.write("%s\t%s\n" % (fam(a), fam(b)))
