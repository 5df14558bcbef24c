#include "dist/Distribution.h"

#include "dist/MixtureDist.h"
#include "dist/SimpleDists.h"

const char* const DIST_TOKENS = "OM_BINARY, OM_GAUSSIAN, OM_EXPONENTIAL, OM_MIXTURE or OM_UNIFORM";

std::unique_ptr<Distribution> ReadDistribution(std::istream& modelFile, std::string* badWord)
{
    std::string word;
    modelFile >> word;
    if (word == "OM_BINARY")
        return std::make_unique<BinaryDist>(modelFile);
    if (word == "OM_GAUSSIAN")
        return std::make_unique<GaussianDist>(modelFile);
    if (word == "OM_EXPONENTIAL")
        return std::make_unique<ExponentialDist>(modelFile);
    if (word == "OM_MIXTURE") {
        auto m = std::make_unique<MixtureDist>(modelFile);
        if (!m->BadWord().empty()) {
            if (badWord)
                *badWord = m->BadWord();
            return nullptr;
        }
        return m;
    }
    if (word == "OM_UNIFORM")
        return std::make_unique<UniformDist>(modelFile);
    if (badWord)
        *badWord = word;
    return nullptr;
}
