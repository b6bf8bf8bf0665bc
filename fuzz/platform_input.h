// Fuzz inputs for the window framework: bytes as a settings file, and bytes as the lines a
// user types into an open dialog. Shared by the libFuzzer targets and the corpus replay test.
#pragma once

#include <cstddef>
#include <cstdint>

namespace fuzzing {

// Parses the bytes as a settings file; what was read must write back to a text that parses
// to the same values and writes again to the same text. Aborts when it does not; returns 0.
int RunSettingsInput(const uint8_t* data, size_t size);

// Opens a dialog with one control of every kind (edits, a drop-down list, check boxes,
// buttons, a disabled and a hidden one, a grid with list cells and a refused column) and types
// the bytes' lines into it; a dialog that ends is opened again for the lines left. At most
// kMaxDialogLines lines are read. Returns 0.
inline constexpr size_t kMaxDialogLines = 200;
int RunDialogInput(const uint8_t* data, size_t size);

}  // namespace fuzzing
