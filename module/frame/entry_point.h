// The module's only exported function: the host calls it once after loading the module.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

// Starts the module and runs its link loop with the host; it does not return while the host
// runs (the host ends the loop by unwinding it at shutdown).
void SDS_EntryPoint(void);

#ifdef __cplusplus
}
#endif
