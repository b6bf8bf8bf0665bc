// main() of armavo: the host with the reinforcement module when it is part of the build.
#include "app/program.h"

#ifdef ARMAVO_WITH_MODULE
#include "module/frame/entry_point.h"
#endif

int main(int argc, char** argv) {
#ifdef ARMAVO_WITH_MODULE
    return app::RunProgram(argc, argv, SDS_EntryPoint);
#else
    return app::RunProgram(argc, argv, nullptr);
#endif
}
