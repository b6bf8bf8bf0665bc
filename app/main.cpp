// main() of armavo: the host with the reinforcement module.
#include "app/program.h"
#include "module/frame/entry_point.h"

int main(int argc, char** argv) {
    return app::RunProgram(argc, argv, SDS_EntryPoint);
}
