#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tools/toolbox/PairKey.h"

// A protein of the input set, by id.
struct SetProtein {
    std::string accession;
    std::string name; // display name: the gene name, else an interaction file's alias, else the accession
    int length = 0;
    int coverage = 0;                        // residues under any domain
    std::vector<std::pair<int, int>> motifs; // (motif id, residues its copies cover), ascending id
};

// A motif family of the input set, by id.
struct SetMotif {
    std::string family; // the key: family accession, or the name
    std::string name;
    int carriers = 0; // proteins of the set that carry it
    // Display name: from the family names file, else the annotation's
    // description, else the name.
    std::string description;
};

// One observation of a protein pair by one source: 1 reported, 0 listed or
// sampled as not interacting.
struct SetObservation {
    PairKey pair;
    int value = 0;
    int source = 0;
};

// What the summary tells about the conversion, beyond the set itself.
struct PrepCounts {
    std::size_t proteinsListed = 0;             // distinct accessions of all pair lists
    std::map<std::string, std::size_t> dropped; // reason -> proteins
    std::size_t withoutDomains = 0;             // kept proteins without any annotation
    std::size_t familiesDropped = 0;            // families only on proteins that lost every pair
    std::size_t reportedPairs = 0;              // distinct reported pairs of proteins with a length
    std::size_t domainlessPairs = 0;            // of them, with a protein without any domain
    std::size_t pairsDropped = 0;               // distinct listed pairs lost with a dropped protein
    std::size_t selfDropped = 0;                // self-interactions dropped on request
    std::size_t selfKept = 0;                   // distinct self-pairs among reported interactions
    std::size_t repeated = 0;                   // listings of a pair a source had already listed
    std::size_t hits = 0;                       // domain ranges used
    std::size_t hitsElsewhere = 0;              // ranges on proteins not in the set
    std::vector<std::size_t> positives;         // per source, in training
    std::vector<std::size_t> negatives;         // per source, in training
    // Per source: Pearson correlation of the proteins' numbers of reported
    // and of non-interacting pairs (before the hold-out); NaN when there is
    // nothing to correlate.
    std::vector<double> degreeCorrelation;
    std::size_t holdoutAsked = 0;      // pairs the hold-out fraction asked for
    std::size_t guarded = 0;           // pairs the guard kept in training
    std::size_t coldStart = 0;         // held-out pairs with a protein without training observations
    std::size_t motifPairs = 0;        // motif pairs on reported interactions, before --min-support
    std::size_t ddiListed = 0;         // pairs of the domain-domain list
    std::size_t ddiUnknown = 0;        // of them naming a family not in the set
    std::size_t ddiNotCandidate = 0;   // of them not a candidate pair
    std::size_t predictListed = 0;     // distinct pairs of the list
    std::size_t predictUnknown = 0;    // of them naming an accession not in the set
    std::size_t familyNamesListed = 0; // families of the family names file
    std::size_t familyNamesUsed = 0;   // motifs of the set named by it
    std::size_t geneNames = 0;         // proteins named by a FASTA gene name
    std::size_t aliasNames = 0;        // proteins named by an interaction file's alias
};

// A complete motifbind input set in terms of ids, with the tables that map
// ids back to names.
struct PreparedSet {
    std::vector<SetProtein> proteins;
    std::vector<SetMotif> motifs;
    std::vector<std::string> sources;                // source s owns observation models 2s and 2s+1
    std::vector<SetObservation> observations;        // the training observations
    std::vector<std::pair<PairKey, int>> candidates; // active motif pairs with their support, ascending PairIndex
    long long bindingVariables = 0;                  // on the observed protein pairs
    bool ddi = false;
    std::vector<PairKey> ddiPairs;                // listed candidate pairs, ascending PairIndex
    std::vector<std::pair<PairKey, int>> holdout; // held-out protein pairs with their state (1 reported)
    std::vector<PairKey> predict;                 // protein pairs to predict
    PrepCounts counts;
};
