// Saving the drawing from the command line, and the question asked before unsaved changes
// would be dropped (QUIT, OPEN, the end of the terminal's input).
#pragma once

#include <string>

namespace host {

// Writes the drawing to a file, tells the outcome, and on success remembers the file as the
// drawing's own and its state as saved. Set by the drawing files; a host without them
// cannot save.
using DrawingSaver = bool (*)(const std::string& path);
void SetDrawingSaver(DrawingSaver saver);

enum class Outcome { Done, Cancelled, Failed };

// Saves to `path`; with no path, to the drawing's own file, asking for a name when it has
// none ("Nazwa pliku rysunku: "; Enter or Esc there cancels).
Outcome SaveDrawing(const std::string& path);

// Before the drawing's changes would be dropped: with unsaved changes, asks whether to save
// them (Tak saves, Nie drops them, Anuluj or Esc keeps the session as it is). Done when the
// caller may go on: nothing was unsaved, it was saved, or the user chose not to save.
Outcome ConfirmDroppingChanges();

// At the end of a script (or when it stopped): says that unsaved changes are dropped.
void TellChangesDropped();

}  // namespace host
