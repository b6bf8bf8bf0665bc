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

void ToName(const resbuf* node, sds_name name) {
    name[0] = node->resval.rlname[0];
    name[1] = node->resval.rlname[1];
}

// A bar: the polyline, its extension dictionary and its record under "ORV_ARMAVO".
void MakeBar(const double (*points)[2], int count, const double* bulges, int number) {
    Check(host_test::MakePolyline(points, count, bulges));
    sds_name bar, dictionary, record;
    sds_entlast(bar);
    Check(host_test::AttachExtensionDictionary(bar, dictionary));
    Check(host_test::MakeBarRecord("Pręt", number, record));
    Check(sds_dictadd(dictionary, "ORV_ARMAVO", record));
}

}  // namespace

void MakeSampleDrawing() {
    const double first[][2] = {{0, 0}, {100, 0}, {100, 40}};
    const double firstBulges[] = {0, 0.4142, 0};
    MakeBar(first, 3, firstBulges, 1);
    sds_name bar;
    sds_entlast(bar);
    const double second[][2] = {{0, -20}, {150, -20}};
    MakeBar(second, 2, nullptr, 2);
    Check(host_test::MakeDisc(150, 50, 0.6));
    sds_name disc;
    sds_entlast(disc);
    Check(host_test::MakeText("Pręt nr 1 %%c12 łącznik", 0, 10, 5));
    // Layers are made with their colours before the entities that use them.
    resbuf* layer = sds_buildlist(RTDXF0, "LAYER", 2, "Zbrojenie główne", 70, 0, 62, 1, 6,
                                  "CONTINUOUS", RTNONE);
    Check(sds_entmake(layer));
    sds_relrb(layer);
    Check(host_test::MakeCircle(150, 50, 20, "Zbrojenie główne"));
    Check(host_test::MakeLine(-10, -40, 160, -40, "Wymiary prętów"));

    sds_name named, groupDictionary, group;
    Check(sds_namedobjdict(named));
    resbuf* entry = sds_dictsearch(named, "ACAD_GROUP", 0);
    if (entry == nullptr)
        std::abort();
    ToName(entry, groupDictionary);
    resbuf* list = sds_buildlist(RTDXF0, "GROUP", 102, "{ACAD_REACTORS", 330, groupDictionary, 102,
                                 "}", 300, "Pręt nr 1", 70, 1, 71, 1, 340, bar, 340, disc, RTNONE);
    Check(sds_entmakex(list, group));
    sds_relrb(list);
    resbuf* tail = entry;
    while (tail->rbnext)
        tail = tail->rbnext;
    tail->rbnext = sds_buildlist(3, "*A0", 350, group, RTNONE);
    Check(sds_entmod(entry));
    sds_relrb(entry);
    // A schedule row in the named object dictionary.
    sds_name row;
    list = sds_buildlist(RTDXF0, "XRECORD", 100, "AcDbXrecord", 1, "120", 1, "4", 1, "12", 1,
                         "St0S", 1, "", 70, 1, 70, 0, 70, 0, 70, 0, 70, 0, 70, 0, 70, 0, RTNONE);
    Check(sds_entmakex(list, row));
    sds_relrb(list);
    Check(sds_dictadd(named, "GLOBAL_ORV_ARMAVO0", row));
}

std::map<std::string, std::string> ObjectsByHandle(const host::Database& drawing) {
    std::map<std::string, std::string> out;
    for (uint32_t slot = 1; slot < drawing.SlotCount(); ++slot) {
        const host::Object* object = drawing.FindLive(host::ObjectId{slot});
        if (!object)
            continue;
        std::ostringstream text;
        text.precision(17);
        for (const host::Group& group : drawing.FullList(host::ObjectId{slot})) {
            if (group.code == -1)
                continue;
            text << "(" << group.code << " ";
            switch (group.kind) {
                case host::ValueKind::Point:
                    text << group.point[0] << "," << group.point[1] << "," << group.point[2];
                    break;
                case host::ValueKind::Real:
                    text << group.real;
                    break;
                case host::ValueKind::Int16:
                case host::ValueKind::Int32:
                    text << group.integer;
                    break;
                case host::ValueKind::EntityName: {
                    const host::Object* target = drawing.Find(group.id);
                    text << (target ? "#" + target->handle.ToText() : "none");
                    break;
                }
                default:
                    text << group.text;
            }
            text << ")";
        }
        out[object->handle.ToText()] = text.str();
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

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
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
