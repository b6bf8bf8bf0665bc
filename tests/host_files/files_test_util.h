// Helpers of the drawing-file tests: a drawing with bars, records and a group made through
// the entity calls, the objects of a drawing as text by handle, temporary files, python.
#pragma once

#include <map>
#include <string>

#include "host/drawing/database.h"
#include "tests/support/files.h"

namespace files_test {

// Bars (polylines with bulges), a disc, texts with Polish letters and "%%c", a circle and a
// line on coloured layers; each bar with its record in its extension dictionary, and an
// anonymous group of a bar and its disc. Made in the current drawing.
void MakeSampleDrawing();

// Every live object by handle, as "(code value)..." with references shown as handles.
std::map<std::string, std::string> ObjectsByHandle(const host::Database& drawing);

// A fresh path in a temporary folder of this test process.
std::string TempPath(const std::string& name);
using testkit::ReadFile;
using testkit::WriteFile;

// Runs a command, returns its exit status and puts what it printed into *output.
int RunCommand(const std::string& command, std::string* output);
// Whether Debian's python3 with ezdxf is there.
bool HaveEzdxf();

}  // namespace files_test
