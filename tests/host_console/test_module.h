// A small module for the host's tests: a link loop like a real module's, with commands that
// exercise prompts, arguments, failures and a loop that never takes no for an answer.
#pragma once

extern "C" void TestModuleEntryPoint(void);

// How many argument lists the module received and how many it released.
int TestModuleArgsReceived();
