// libFuzzer target: any bytes as the lines a user types into an open dialog.
#include <cstddef>
#include <cstdint>

#include "fuzz/platform_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzzing::RunDialogInput(data, size);
}
