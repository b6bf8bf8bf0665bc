// The drawing as a whole: replacing it by an empty one (a new drawing, or before a test),
// its file, and whether it changed since it was last opened, saved or made new.
#pragma once

#include <string>

namespace host {

// Replaces the drawing by an empty one with the standard tables, dictionaries and system
// variables; entity names and selection sets of the old drawing are refused from then on,
// and the undo journal starts empty.
void NewDrawing();

// Remembers the drawing's present state as saved, in `path` (the file it was opened from or
// saved to). A new or replaced drawing counts as saved, with no file.
void MarkDrawingSaved(const std::string& path);
// Whether the drawing differs from its saved state; an undo back to it counts as no change.
bool DrawingChanged();
// The drawing's own file ("" for a new drawing).
const std::string& DrawingFile();

}  // namespace host
