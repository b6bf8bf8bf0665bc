// A dialog of the window framework as the page draws it: its caption, size and every control
// with its kind, rectangle in pixels, state and, for a grid, its columns and cells.
#pragma once

#include <string>

namespace platform {
class Dialog;
}

namespace app::web {

std::string DialogJson(const platform::Dialog& dialog);

}  // namespace app::web
