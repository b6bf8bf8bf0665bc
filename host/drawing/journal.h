// The undo journal as the command line drives it: every change to the drawing is journalled;
// a command's changes outside any undo group make one step, an "_UNDO _BEGIN" ... "_END"
// group makes one step.
#pragma once

namespace host {

// Marks the start and the end of one command at the command line. Changes between the two
// that no undo group holds become one undo step.
void BeginCommandStep();
void EndCommandStep();

// Undoes up to n steps; returns how many were undone.
int UndoSteps(int n);
// Redoes the step undone last, if no change came after it; false when there is none.
bool RedoStep();

}  // namespace host
