// libFuzzer target: any bytes as script lines through the whole program.
#include <cstddef>
#include <cstdint>

#include "fuzz/script_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzzing::RunScriptInput(data, size);
}
