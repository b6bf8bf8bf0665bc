// The frame under test installs no subsystem's workers: each test installs its own.
#include "module/frame/workers.h"

void InstallCommandWorkers() {}
