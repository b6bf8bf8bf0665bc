// Helpers of the drawing-file tests.
#include "files_test_util.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "../host_drawing/drawing_test_util.h"
#include "host/sds.h"

namespace files_test {
namespace {

void Check(int status) {
    if (status != RTNORM) {
        std::fprintf(stderr, "sample drawing: a call was refused\n");
        std::abort();
    }
}

}  // namespace

void MakeSampleDrawing() {
    const double first[][2] = {{0, 0}, {100, 0}, {100, 40}};
    const double firstBulges[] = {0, 0.4142, 0};
    sds_name bar, other, disc, group;
    Check(host_test::MakeMarkedBar(first, 3, firstBulges, 1, bar));
    const double second[][2] = {{0, -20}, {150, -20}};
    Check(host_test::MakeMarkedBar(second, 2, nullptr, 2, other));
    Check(host_test::MakeDisc(150, 50, 0.6));
    sds_entlast(disc);
    Check(host_test::MakeText("Pręt nr 1 %%c12 łącznik", 0, 10, 5));
    // Layers are made with their colours before the entities that use them.
    resbuf* layer = sds_buildlist(RTDXF0, "LAYER", 2, "Zbrojenie główne", 70, 0, 62, 1, 6,
                                  "CONTINUOUS", RTNONE);
    Check(sds_entmake(layer));
    sds_relrb(layer);
    Check(host_test::MakeCircle(150, 50, 20, "Zbrojenie główne"));
    Check(host_test::MakeLine(-10, -40, 160, -40, "Wymiary prętów"));
    Check(host_test::MakeGroup("*A0", "Pręt nr 1", {bar, disc}, group));
    // A schedule row in the named object dictionary.
    sds_name named, row;
    Check(sds_namedobjdict(named));
    resbuf* list =
        sds_buildlist(RTDXF0, "XRECORD", 100, "AcDbXrecord", 1, "120", 1, "4", 1, "12", 1, "St0S",
                      1, "", 70, 1, 70, 0, 70, 0, 70, 0, 70, 0, 70, 0, 70, 0, RTNONE);
    Check(sds_entmakex(list, row));
    sds_relrb(list);
    Check(sds_dictadd(named, "GLOBAL_ORV_ARMAVO0", row));
    // The second bar's records name the first by its handle, as a dimension text's do: the
    // drawing read back must answer who names that handle (its record index).
    resbuf* barList = sds_entget(bar);
    resbuf* otherList = sds_entget(other);
    const resbuf* dictionary = otherList ? host_test::FindGroup(otherList, 360) : nullptr;
    if (!barList || !dictionary)
        Check(RTERROR);
    sds_name otherDictionary = {dictionary->resval.rlname[0], dictionary->resval.rlname[1]};
    sds_name reference;
    list = sds_buildlist(RTDXF0, "XRECORD", 100, "AcDbXrecord", 1,
                         host_test::FindGroup(barList, 5)->resval.rstring, RTNONE);
    Check(sds_entmakex(list, reference));
    sds_relrb(list);
    sds_relrb(barList);
    sds_relrb(otherList);
    Check(sds_dictadd(otherDictionary, "ORV_ARMAVO_REF", reference));
}

std::map<std::string, std::string> ObjectsByHandle(const host::Database& drawing) {
    std::map<std::string, std::string> out;
    for (uint32_t slot = 1; slot < drawing.SlotCount(); ++slot) {
        if (const host::Object* object = drawing.FindLive(host::ObjectId{slot}))
            out[object->handle.ToText()] = host_test::ObjectText(drawing, host::ObjectId{slot});
    }
    return out;
}

std::string TempPath(const std::string& name) {
    static const std::filesystem::path folder = [] {
        auto path =
            std::filesystem::temp_directory_path() / ("armavo-files-" + std::to_string(getpid()));
        std::filesystem::create_directories(path);
        return path;
    }();
    return (folder / name).string();
}

int RunCommand(const std::string& command, std::string* output) {
    std::string full = command + " 2>&1";
    FILE* pipe = popen(full.c_str(), "r");
    if (!pipe)
        return -1;
    char buffer[4096];
    std::string text;
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        text.append(buffer, n);
    int status = pclose(pipe);
    if (output)
        *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool HaveEzdxf() {
    return RunCommand("/usr/bin/python3 -c 'import ezdxf'", nullptr) == 0;
}

}  // namespace files_test
