// Fuzz input as script lines: the bytes are cut into lines and run through the whole
// program in-process (host, module, scripted window back end) on a fresh drawing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fuzzing {

// The lines a fuzz input stands for: split at line ends (a trailing carriage return
// dropped), at most kMaxLines lines of at most kMaxLineBytes bytes each; lines naming the
// drawing-file verbs (OPEN, SAVE, EXPORT) are left out, so that no input touches files.
inline constexpr size_t kMaxLines = 400;
inline constexpr size_t kMaxLineBytes = 256;
std::vector<std::string> ScriptLines(const uint8_t* data, size_t size);

// Runs the input's lines through the program, then audits the drawing it left. Faults show
// as crashes, sanitizer reports or the host's aborts on broken invariants; returns 0.
int RunScriptInput(const uint8_t* data, size_t size);

}  // namespace fuzzing
