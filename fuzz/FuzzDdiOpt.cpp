// The DDI option file, expanded over the fixed active motif pairs next to
// the fixed DDI observations and models, then a short training with the
// evidence and the predictions.
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
    in.ddiOpt.assign(reinterpret_cast<const char*>(data), size);
    fuzz::ReadTrainPredict(in, true);
    return 0;
}
