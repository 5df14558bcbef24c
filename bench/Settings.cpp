#include "bench/Settings.h"

#include "tools/toolbox/ToolError.h"

const std::vector<Setting>& AllSettings()
{
    // Every set runs motifbind's default estimator without a noise prior, so
    // that timings compare across versions; --new-args "-e 1 -b 200" times
    // the recommended settings on the same data.
    static const std::vector<Setting> settings{
        {"quick",
         "1,500 proteins, 500 motifs, 13,600 tested pairs (~20,000 observations), DDI",
         {"--proteins", "1500", "--motifs", "500", "--pairs", "13600", "--ddi", "1", "--estimator", "0",
          "--noise-prior", "0"},
         4,
         100,
         "",
         false},
        // About 1.6 million motif combinations and 130,000 binding variables
        // per EM pass.
        {"proteome",
         "6,000 proteins, 2,000 motifs, 100,000 tested pairs (~148,000 observations), DDI",
         {"--proteins", "6000", "--motifs", "2000", "--pairs", "100000", "--ddi", "1", "--estimator", "0",
          "--noise-prior", "0"},
         8,
         1000,
         "",
         false},
        // The proteome set with every protein pair to predict: 18,003,000
        // pairs, a prediction file of about 500 MiB.
        {"all-pairs",
         "the proteome set, predicting every one of its 18,003,000 protein pairs",
         {"--proteins", "6000", "--motifs", "2000", "--pairs", "100000", "--ddi", "1", "--estimator", "0",
          "--noise-prior", "0"},
         8,
         1000,
         "proteome",
         true},
    };
    return settings;
}

const Setting& FindSetting(const std::string& name)
{
    std::string known;
    for (const Setting& s : AllSettings()) {
        if (s.name == name) {
            return s;
        }
        known += (known.empty() ? "" : ", ") + s.name;
    }
    throw ToolError("unknown setting '" + name + "'; expected one of " + known);
}
