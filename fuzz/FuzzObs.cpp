// The observed protein interaction file, read with the fixed model file and
// protein set, then a short training and the predictions.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::QuietStderr();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::Inputs in = fuzz::DefaultInputs();
    in.obs.assign(reinterpret_cast<const char*>(data), size);
    fuzz::ReadTrainPredict(in, true);
    return 0;
}
