// libFuzzer target: any bytes as the registry's settings file.
#include <cstddef>
#include <cstdint>

#include "fuzz/platform_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzzing::RunSettingsInput(data, size);
}
