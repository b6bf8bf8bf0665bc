// The drawing as a whole: replacing it by an empty one (a new drawing, or before a test).
#pragma once

namespace host {

// Replaces the drawing by an empty one with the standard tables, dictionaries and system
// variables; entity names and selection sets of the old drawing are refused from then on,
// and the undo journal starts empty.
void NewDrawing();

}  // namespace host
