// Entity and object lists as text, one group a line, the way LIST prints them and the way
// tests compare drawings: (code . value) for single values, (code x y z) for points, and
// entity names shown by the handle of the object they name, so the text is stable.
#pragma once

#include <string>

#include "host/sds.h"

namespace host {

std::string FormatGroup(const struct resbuf* group);
// Every group of the list, each on its own line ending in "\n".
std::string FormatList(const struct resbuf* list);
// The object's list and, indented two blanks a level below it, the objects it owns through
// 360 and 350 groups (an entity's extension dictionary, the records and dictionaries filed
// in it), each once.
std::string FormatObjectTree(const sds_name object);
// Numbers as LIST shows them: at most six decimals, trailing zeros dropped, "100.0".
std::string FormatReal(double value);
// The handle of the object an entity name stands for, or "" when it names nothing live.
std::string HandleOf(const sds_name name);

}  // namespace host
