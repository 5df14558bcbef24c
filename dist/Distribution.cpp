#include "dist/Distribution.h"

#include "dist/MixtureDist.h"
#include "dist/SimpleDists.h"

const char* const DIST_TOKENS = "OM_BINARY, OM_GAUSSIAN, OM_EXPONENTIAL, OM_MIXTURE or OM_UNIFORM";

DistRead ReadDist(std::istream& modelFile, int depthLeft)
{
    DistRead r;
    std::string word;
    modelFile >> word;
    if (word == "OM_BINARY") {
        r.dist = std::make_unique<BinaryDist>(modelFile);
    } else if (word == "OM_GAUSSIAN") {
        r.dist = std::make_unique<GaussianDist>(modelFile);
    } else if (word == "OM_EXPONENTIAL") {
        r.dist = std::make_unique<ExponentialDist>(modelFile);
    } else if (word == "OM_MIXTURE") {
        // Refused before its parameters are read: nothing below it is read.
        if (depthLeft <= 0) {
            r.tooDeep = true;
            return r;
        }
        auto m = std::make_unique<MixtureDist>(modelFile, depthLeft - 1);
        if (!m->BadWord().empty())
            r.badWord = m->BadWord();
        else if (m->TooDeep())
            r.tooDeep = true;
        else
            r.dist = std::move(m);
    } else if (word == "OM_UNIFORM") {
        r.dist = std::make_unique<UniformDist>(modelFile);
    } else {
        r.badWord = word;
    }
    return r;
}

std::unique_ptr<Distribution> ReadDistribution(std::istream& modelFile, std::string* badWord)
{
    DistRead r = ReadDist(modelFile);
    if (badWord && !r.badWord.empty())
        *badWord = r.badWord;
    return std::move(r.dist);
}
