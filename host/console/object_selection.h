// The objects a host command works on, as its "Wybierz obiekty: " prompt collects them: picks,
// windows (W, Okno) and crossing windows (C, Przecięcie), and a click on empty space that
// starts a window (dragged to the right a window, to the left a crossing window).
#pragma once

#include <vector>

namespace host {

struct ObjectName {
    long id[2];
    bool operator==(const ObjectName& o) const { return id[0] == o.id[0] && id[1] == o.id[1]; }
};

// The pick-first selection, in its order; empty when there is none.
std::vector<ObjectName> PickFirstSelection();

// Asks for objects until Enter (true) or Esc (false), each taken once, in the order given.
bool PromptForObjects(std::vector<ObjectName>& chosen);

// The pick-first selection when there is one (it is then used up), else the prompt's objects.
// False when the user cancelled.
bool SelectObjects(std::vector<ObjectName>& chosen);

}  // namespace host
