// OPEN and SAVE of a realistic detail sheet of 10,000 bars (ARMAVO_BENCH_BARS), drawn by the
// program's own commands from a script (bench/generator/sheet_script.h) and saved: OPEN in a
// process that does nothing else beside ezdxf's readfile of the same file in the same run, the
// peak memory of the program when all it does is open that file (`armavo --script` with one
// OPEN line, the whole process's maximum resident size), and OPEN and SAVE in one process.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/generator/sheet_script.h"
#include "host/drawing/database.h"
#include "host/files/file_commands.h"
#include "host/sds.h"
#include "module/frame/entry_point.h"
#include "platform/console.h"
#include "tests/support/scenario.h"

extern char** environ;

namespace {

std::string g_folder;
std::string g_sheet;  // the saved sheet

double ProcessSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double WallSeconds() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void BM_Open(benchmark::State& state) {
    for (auto _ : state) {
        if (!host::OpenDrawingFile(g_sheet))
            state.SkipWithError("OPEN failed");
    }
}

void BM_Save(benchmark::State& state) {
    for (auto _ : state) {
        if (!host::SaveDrawingFile(g_folder + "/saved.dxf"))
            state.SkipWithError("SAVE failed");
    }
}

// Runs a program to its end with its output going to `output`: its CPU seconds and maximum
// resident size (MB), or false when it could not be run or failed.
bool RunMeasured(const std::vector<std::string>& args, const std::string& output, double& cpu,
                 double& peakMb) {
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return false;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return false;
    }
    auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
    };
    cpu = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    peakMb = static_cast<double>(usage.ru_maxrss) / 1024.0;
    return true;
}

// ezdxf.readfile of the sheet, timed inside Python: "cpu wall" in seconds, or empty.
std::string EzdxfSeconds() {
    const std::string out = g_folder + "/output.txt";
    const std::string command =
        "/usr/bin/python3 -c \"import time, ezdxf; c = time.process_time(); "
        "w = time.perf_counter(); ezdxf.readfile('" +
        g_sheet +
        "'); print('%.3f %.3f' % (time.process_time() - c, time.perf_counter() - w))\" > " + out;
    if (std::system(command.c_str()) != 0)
        return "";
    std::ifstream in(out);
    std::string line;
    std::getline(in, line);
    return line;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// `bench_files --open FILE`: a process that only opens the file, as OPEN does, and prints the
// seconds of the OPEN: wall, then CPU (of both cores OPEN uses).
int OpenOnly(const std::string& path) {
    platform::SetOutputSink([](std::string_view, void*) {}, nullptr);
    const double start = ProcessSeconds();
    const double wallStart = WallSeconds();
    const bool opened = host::OpenDrawingFile(path);
    std::printf("%.4f %.4f\n", WallSeconds() - wallStart, ProcessSeconds() - start);
    return opened ? 0 : 1;
}

// `bench_files --draw FILE BARS`: draws the sheet by its script and saves it to FILE; prints
// what it holds. In a process of its own, so that the processes measured later are started
// from a small one (a started process counts the memory of its parent in its peak).
int DrawSheet(const std::string& path, int bars) {
    std::vector<std::string> lines = sheet_script::Lines(bars);
    lines.push_back("SAVE " + path);
    testkit::ScenarioOptions options;
    options.entry = SDS_EntryPoint;
    options.echo = false;
    const double start = ProcessSeconds();
    const std::string transcript = testkit::RunScenario(lines, options);
    const double drawing = ProcessSeconds() - start;
    struct stat info {};
    if (testkit::LastScenarioStatus() != 0 || stat(path.c_str(), &info) != 0) {
        std::fprintf(
            stderr, "The sheet could not be drawn:\n%s\n",
            transcript.substr(transcript.size() > 4000 ? transcript.size() - 4000 : 0).c_str());
        return 1;
    }
    // Every answer of the script hit what it was meant for, and every bar is there.
    for (const char* word : {"Nie wybrano", "Nieprawidłow", "Wymagana"}) {
        if (transcript.find(word) != std::string::npos) {
            std::fprintf(stderr, "An answer of the sheet's script missed its prompt (\"%s\").\n",
                         word);
            return 1;
        }
    }
    long drawn = 0;
    sds_name set = {0, 0};
    if (sds_ssgetrecordkind("LWPOLYLINE", "ORV_ARMAVO", "Pręt", nullptr, 0, set) == RTNORM) {
        sds_sslength(set, &drawn);
        sds_ssfree(set);
    }
    const int blocks = (bars + sheet_script::kBarsPerBlock - 1) / sheet_script::kBarsPerBlock;
    if (drawn != blocks * sheet_script::kBarsPerBlock) {
        std::fprintf(stderr, "The sheet holds %ld bars, not %d.\n", drawn,
                     blocks * sheet_script::kBarsPerBlock);
        return 1;
    }
    const host::Database& sheet = host::CurrentDrawing();
    long entities = 0;
    for (host::ObjectId id : sheet.EntityOrder())
        entities += sheet.FindLive(id) != nullptr ? 1 : 0;
    std::printf(
        "Sheet of %ld bars drawn by commands in %.1f s of CPU: %ld entities, %u slots, "
        "%.1f MB\n",
        drawn, drawing, entities, sheet.SlotCount() - 1, static_cast<double>(info.st_size) / 1e6);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--open")
        return OpenOnly(argv[2]);
    if (argc == 4 && std::string(argv[1]) == "--draw")
        return DrawSheet(argv[2], std::atoi(argv[3]));
    benchmark::Initialize(&argc, argv);
    const char* asked = std::getenv("ARMAVO_BENCH_BARS");
    const std::string bars = asked != nullptr ? asked : "10000";
    char folder[] = "/tmp/armavo-bench-files-XXXXXX";
    if (mkdtemp(folder) == nullptr)
        return 1;
    g_folder = folder;
    g_sheet = g_folder + "/sheet.dxf";
    char self[4096] = {};
    if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0)
        return 1;
    const std::string output = g_folder + "/output.txt";
    auto cleanUp = [] {
        for (const char* name :
             {"/sheet.dxf", "/saved.dxf", "/open.scr", "/output.txt", "/settings.ini"}) {
            std::remove((g_folder + name).c_str());
        }
        rmdir(g_folder.c_str());
    };

    // The sheet, drawn by the program's commands and saved.
    double cpu = 0, peak = 0;
    if (!RunMeasured({self, "--draw", g_sheet, bars}, output, cpu, peak)) {
        std::fprintf(stderr, "The sheet could not be drawn.\n");
        cleanUp();
        return 1;
    }
    std::printf("%s", std::string(std::istreambuf_iterator<char>(std::ifstream(output).rdbuf()),
                                  std::istreambuf_iterator<char>())
                          .c_str());
    std::fflush(stdout);

    // OPEN in a process of its own that does nothing else, as ezdxf reads the file in one.
    // The machine's speed drifts by a third over minutes: each ezdxf run is compared with the
    // OPENs just before and after it (a round), and the rounds' ratios are reported.
    std::vector<double> opens, openCpus, openPeaks, ezdxfCpus, ezdxfWalls, ratios;
    auto measureOpen = [&](std::vector<double>& round) {
        double openWall = 0, openCpu = 0;
        if (RunMeasured({self, "--open", g_sheet}, output, cpu, peak) &&
            (std::ifstream(output) >> openWall >> openCpu)) {
            round.push_back(openWall);
            opens.push_back(openWall);
            openCpus.push_back(openCpu);
            openPeaks.push_back(peak);
        }
    };
    for (int i = 0; i < 3; ++i) {
        std::vector<double> round;
        measureOpen(round);
        measureOpen(round);
        double c = 0, w = 0;
        const bool ran = std::sscanf(EzdxfSeconds().c_str(), "%lf %lf", &c, &w) == 2;
        measureOpen(round);
        measureOpen(round);
        if (ran && !round.empty()) {
            ezdxfCpus.push_back(c);
            ezdxfWalls.push_back(w);
            ratios.push_back(w / Median(round));
        }
    }
    const bool haveEzdxf = !ezdxfWalls.empty();
    // The program itself doing nothing but open the sheet.
    const std::string script = g_folder + "/open.scr";
    std::ofstream(script) << "OPEN " << g_sheet << "\n";
    std::vector<double> cpus, peaks;
    for (int i = 0; i < 3; ++i) {
        if (RunMeasured(
                {ARMAVO_PROGRAM, "--settings", g_folder + "/settings.ini", "--script", script},
                output, cpu, peak)) {
            cpus.push_back(cpu);
            peaks.push_back(peak);
        }
    }

    // OPEN and SAVE within this process, over the drawing they opened and saved before.
    platform::SetOutputSink([](std::string_view, void*) {}, nullptr);
    host::OpenDrawingFile(g_sheet);
    // The sheet opened and saved again is the sheet, byte for byte: every value was read as
    // written, on whichever thread it was read.
    auto bytesOf = [](const std::string& path) {
        return std::string(std::istreambuf_iterator<char>(std::ifstream(path).rdbuf()),
                           std::istreambuf_iterator<char>());
    };
    const bool savedBack = host::SaveDrawingFile(g_folder + "/saved.dxf") &&
                           bytesOf(g_folder + "/saved.dxf") == bytesOf(g_sheet);
    benchmark::RegisterBenchmark("OPEN", BM_Open)->Unit(benchmark::kMillisecond)->Iterations(5);
    benchmark::RegisterBenchmark("SAVE", BM_Save)->Unit(benchmark::kMillisecond)->Iterations(5);
    benchmark::RunSpecifiedBenchmarks();
    platform::SetOutputSink(nullptr, nullptr);

    // Wall time decides: OPEN uses a second core, ezdxf one. Both are medians of their runs.
    const double open = Median(opens);
    if (!opens.empty()) {
        std::printf(
            "\nOPEN of the sheet in a process of its own (median of %zu): %.0f ms wall, %.0f ms "
            "of CPU; the process's peak resident size %.1f MB\n",
            opens.size(), open * 1e3, Median(openCpus) * 1e3,
            *std::max_element(openPeaks.begin(), openPeaks.end()));
    }
    if (haveEzdxf && open > 0) {
        std::printf("ezdxf readfile of the same file (median of %zu): %.2f s wall, %.2f s of CPU\n",
                    ezdxfWalls.size(), Median(ezdxfWalls), Median(ezdxfCpus));
        std::printf("OPEN is %.1f times faster (target: at least 40); by round:", Median(ratios));
        for (double ratio : ratios)
            std::printf(" %.1f", ratio);
        std::printf("; fastest OPEN %.0f ms, fastest ezdxf %.2f s\n",
                    *std::min_element(opens.begin(), opens.end()) * 1e3,
                    *std::min_element(ezdxfWalls.begin(), ezdxfWalls.end()));
    } else {
        std::printf("ezdxf: not available\n");
    }
    std::printf("OPEN then SAVE gives the sheet back byte for byte: %s\n",
                savedBack ? "yes" : "NO");
    if (peaks.empty()) {
        std::printf("armavo --script (one OPEN): could not be run\n");
    } else {
        std::printf(
            "armavo --script with one OPEN: peak resident size %.1f MB (target: at most "
            "150), %.2f s of CPU for the whole process (median of %zu)\n",
            *std::max_element(peaks.begin(), peaks.end()), Median(cpus), peaks.size());
    }
    cleanUp();
    benchmark::Shutdown();
    return savedBack ? 0 : 1;
}
