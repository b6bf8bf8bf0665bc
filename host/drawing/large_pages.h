// Advice to the system on memory that is about to be filled whole.
#pragma once

#include <cstddef>

namespace host {

// Asks that the bytes be given in large pages (2 MB) where the system offers them on request:
// filling a large buffer then costs a five-hundredth of the page faults. Advice only: nothing
// changes where it is not taken.
void AskForLargePages(void* data, size_t size);

}  // namespace host
