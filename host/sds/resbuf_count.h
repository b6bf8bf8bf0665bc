// The number of result-buffer nodes the host has handed out and not yet had back, so that
// tests can prove every list is released.
#pragma once

namespace host {

long LiveResbufCount();

}  // namespace host
