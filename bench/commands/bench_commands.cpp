// Speed of every command and option on generated drawings of 100, 1,000 and 10,000 bars (about
// 150,000 entities), each run whole as a user runs it: the module's command with its answers
// given line by line (picks included), inside one session of the program. The figures of all
// sizes are printed together at the end, with the growth from 1,000 to 10,000 bars.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "bench/generator/drawing_generator.h"
#include "host/drawing/session.h"
#include "host/files/file_commands.h"
#include "host/host.h"
#include "host/sds.h"
#include "module/entities/resbuf_util.h"
#include "module/entities/xdata.h"
#include "module/frame/entry_point.h"
#include "module/frame/frame.h"
#include "module/frame/workers.h"
#include "module/rods/obsluga_preta.h"
#include "platform/console.h"
#include "tests/support/scenario.h"

namespace {

using Point = std::array<double, 2>;

// Answers given in advance; Esc once they are used up, so that a command never waits.
class Answers : public platform::LineInput {
  public:
    std::optional<std::string> Next(std::string_view) override {
        if (!lines_.empty()) {
            std::string line = lines_.front();
            lines_.pop_front();
            return line;
        }
        return ++escapes_ > 100 ? std::nullopt : std::optional<std::string>("^C");
    }
    void Give(const std::vector<std::string>& lines) {
        lines_.assign(lines.begin(), lines.end());
        escapes_ = 0;
    }

  private:
    std::deque<std::string> lines_;
    int escapes_ = 0;
};

void Collect(std::string_view text, void* context) {
    static_cast<std::string*>(context)->append(text);
}

std::string At(Point p) {
    char text[64];
    std::snprintf(text, sizeof text, "%.4f,%.4f", p[0], p[1]);
    return text;
}

Point Shifted(Point p, double dx, double dy) {
    return {p[0] + dx, p[1] + dy};
}

// The drawing being measured and where its pieces are picked.
struct Scene {
    int bars = 0;
    int blocks = 0;
    double step = 0;
    std::vector<Point> barPicks;  // a point on each bar of the first block, clear of its texts
    Point leaderText = {0, 0};    // a text of the first leader of the first block
    std::map<int, int> used;      // blocks taken per bar of the block
};
Scene g_scene;

// The next block not yet edited for bar k, spread over the drawing.
int NextBlock(int k) {
    const int n = g_scene.used[k]++;
    return static_cast<int>((static_cast<long>(n) * 7919 + k * 31) % g_scene.blocks);
}

Point BarPick(int k, int block) {
    return Shifted(g_scene.barPicks[k], 0, block * g_scene.step);
}

// Runs one command with its answers; the session's output is kept for the check.
std::string RunCommand(int code, const std::vector<std::string>& lines) {
    static Answers answers;
    std::string printed;
    answers.Give(lines);
    platform::LineInput* previous = platform::GetLineInput();
    platform::SetLineInput(&answers);
    platform::SetOutputSink(Collect, &printed);
    GetCommandWorker(code)(*ModulePanel());
    platform::SetOutputSink(nullptr, nullptr);
    platform::SetLineInput(previous);
    return printed;
}

// Words in the output that mean an answer missed what it was meant for.
bool Missed(const std::string& printed) {
    for (const char* word : {"Nie wybrano", "Nieprawidłow", "Wymagana"}) {
        if (printed.find(word) != std::string::npos)
            return true;
    }
    return false;
}

struct Case {
    std::string name;
    int code;
    int bar;  // the bar of the block the command works on
    std::function<std::vector<std::string>(int block, int iteration)> lines;
    std::function<void(int block, int iteration)> prepare;  // untimed, before each run
};

void RunCase(benchmark::State& state, const Case& c) {
    int iteration = 0;
    std::string missed;
    std::string unchanged;
    for (auto _ : state) {
        state.PauseTiming();
        const int block = NextBlock(c.bar);
        if (c.prepare)
            c.prepare(block, iteration);
        const std::vector<std::string> lines = c.lines(block, iteration);
        const size_t steps = host::GetSession().journal.StepCount();
        state.ResumeTiming();
        const std::string printed = RunCommand(c.code, lines);
        state.PauseTiming();
        // Every command here changes the drawing: one undo step at least.
        if (unchanged.empty() && host::GetSession().journal.StepCount() == steps)
            unchanged = printed;
        state.ResumeTiming();
        if (missed.empty() && Missed(printed))
            missed = printed;
        // ARMAVO_BENCH_SHOW=1 prints what the first run of each command printed.
        if (iteration == 0 && std::getenv("ARMAVO_BENCH_SHOW") != nullptr)
            std::fprintf(stderr, "---- %s\n%s\n", c.name.c_str(), printed.c_str());
        ++iteration;
    }
    if (!missed.empty()) {
        std::fprintf(stderr, "%s:\n%s\n", c.name.c_str(), missed.c_str());
        state.SkipWithError("an answer missed its prompt (transcript above)");
    } else if (!unchanged.empty()) {
        std::fprintf(stderr, "%s:\n%s\n", c.name.c_str(), unchanged.c_str());
        state.SkipWithError("the command left the drawing as it was (transcript above)");
    }
    state.counters["bars"] = g_scene.bars;
}

// A free place far right of the blocks for what a command draws anew.
Point Free(int iteration) {
    return {5000.0, 40.0 * iteration};
}

// A polyline to turn into a bar, drawn before the run.
void DrawPolyline(int iteration) {
    const Point p = Shifted(Free(iteration), 1000, 0);
    rblist::Owned list(sds_buildlist(RTDXF0, "LWPOLYLINE", 8, "0", 90, 2, 70, 0, RTNONE));
    resbuf* tail = rblist::Last(list.get());
    for (double dx : {0.0, 300.0}) {
        tail = rblist::Append(tail, 10);
        tail->resval.rpoint[0] = p[0] + dx;
        tail->resval.rpoint[1] = p[1];
        tail->resval.rpoint[2] = 0;
    }
    sds_entmake(list.get());
}

std::vector<Case> Cases() {
    auto bar = [](int k, int block) { return At(BarPick(k, block)); };
    auto y = [](int block) { return block * g_scene.step; };
    // Bars of the block: 0 straight 16 (dimensions, description), 1 L of 12 (dimensions,
    // leader), 2 smooth 10 (dimensions, description, leader), 3 U of 8, 4 straight 20.
    return {
        {"WPR", kCmdWPR, 0,
         [](int, int i) {
             return std::vector<std::string>{At(Free(i)), At(Shifted(Free(i), 300, 0)), ""};
         },
         nullptr},
        {"EDPR Wyrzuć", kCmdEDPR, 1,
         [=](int b, int) {
             return std::vector<std::string>{"Wyrzuć", bar(1, b), "0,0", "3000,0"};
         },
         nullptr},
        {"EDPR Edycja_długości", kCmdEDPR, 1,
         [=](int b, int) {
             return std::vector<std::string>{"Edycja_długości", "Skróć", "5", bar(1, b)};
         },
         nullptr},
        {"EDPR Dziel", kCmdEDPR, 4,
         [=](int b, int) {
             return std::vector<std::string>{"Dziel", bar(4, b), bar(4, b)};
         },
         nullptr},
        {"EDPR Kopiuj Wstaw_kopię", kCmdEDPR, 1,
         [=](int b, int) {
             return std::vector<std::string>{"Kopiuj", "Wstaw_kopię", bar(1, b), "0,0", "3000,0"};
         },
         nullptr},
        {"EDPR Kopiuj Nowy_nr_pręta", kCmdEDPR, 2,
         [=](int b, int) {
             return std::vector<std::string>{"Kopiuj", "Nowy_nr_pręta", bar(2, b), "0,0", "3000,0"};
         },
         nullptr},
        {"EDPR Przesuń", kCmdEDPR, 1,
         [=](int b, int) {
             return std::vector<std::string>{"Przesuń", bar(1, b), "0,0", "0,3"};
         },
         nullptr},
        {"EDPR Usuń", kCmdEDPR, 0,
         [=](int b, int) {
             return std::vector<std::string>{"Usuń", bar(0, b), "yes"};
         },
         nullptr},
        {"EDPR Zmień_średnicę/stal", kCmdEDPR, 1,
         [=](int b, int) {
             return std::vector<std::string>{"Zmień_średnicę/stal", bar(1, b)};
         },
         nullptr},
        {"EDPR Teksty_wymiarów", kCmdEDPR, 0,
         [=](int b, int) {
             return std::vector<std::string>{"Teksty_wymiarów(wstaw/usuń)", bar(0, b)};
         },
         nullptr},
        {"EDPR Opis Pręta", kCmdEDPR, 3,
         [=](int b, int) {
             return std::vector<std::string>{"Opis", "Pręta(włącz/wyłącz)", bar(3, b)};
         },
         nullptr},
        {"EDPR Opis Na_odnośniku", kCmdEDPR, 4,
         [=](int b, int) {
             const Point p = BarPick(4, b);
             return std::vector<std::string>{
                 "Opis", "Na_odnośniku",         At(p),
                 At(p),  At(Shifted(p, 30, 60)), At(Shifted(p, 90, 60))};
         },
         nullptr},
        {"EDPR zAmień_polilinię", kCmdEDPR, 0,
         [](int, int i) {
             return std::vector<std::string>{"zAmień_polilinię", At(Shifted(Free(i), 1100, 0))};
         },
         [](int, int i) { DrawPolyline(i); }},
        {"WRP Poziomy", kCmdWRP, 3,
         [=](int b, int) {
             return std::vector<std::string>{"Poziomy", bar(3, b), "0,0", "0,-1", "Nie"};
         },
         nullptr},
        {"WPP", kCmdWPP, 0,
         [](int, int i) {
             const Point p = Shifted(Free(i), 2000, 0);
             return std::vector<std::string>{At(p), At(Shifted(p, 300, 0)), "0", "0", "Ilość"};
         },
         nullptr},
        {"EPP Rysuj_opis", kCmdEPP, 5,
         [=](int b, int) {
             return std::vector<std::string>{"Rysuj_opis",
                                             "",
                                             "3",
                                             At({300.0 * 3 / 7, 220 + y(b)}),
                                             At({150, 260 + y(b)}),
                                             At({200, 260 + y(b)})};
         },
         nullptr},
        {"EPP Zmień_średnicę/stal", kCmdEPP, 6,
         [=](int b, int) {
             return std::vector<std::string>{"Zmień_średnicę/stal", At({300, 220 + y(b)})};
         },
         nullptr},
        {"ERD", kCmdERD, 7,
         [=](int b, int) {
             return std::vector<std::string>{At(Shifted(g_scene.leaderText, 0, y(b))), "click 1"};
         },
         nullptr},
        {"OPR with the table", kCmdOPR, 8,
         [](int, int i) {
             return std::vector<std::string>{"check 1039 1", "click 1",
                                             At({-20000.0 * (i + 1), 0})};
         },
         nullptr},
    };
}

// A point on each bar of the first block that picks that bar, found by picking.
bool FindPicks(const std::vector<std::array<long, 2>>& bars) {
    g_scene.barPicks.clear();
    static Answers answers;
    platform::LineInput* previous = platform::GetLineInput();
    std::string printed;
    platform::SetOutputSink(Collect, &printed);
    bool all = true;
    for (int k = 0; k < drawing_generator::kBarsPerBlock; ++k) {
        const sds_name name = {bars[k][0], bars[k][1]};
        std::vector<CSDSPointExt> vertices;
        CObslugaPreta::LoadRodVertices(name, vertices);
        std::optional<Point> found;
        for (size_t i = 0; i + 1 < vertices.size() && !found; ++i) {
            for (double t : {0.2, 0.3, 0.7, 0.8, 0.4, 0.6}) {
                const Point p = {vertices[i].x + t * (vertices[i + 1].x - vertices[i].x),
                                 vertices[i].y + t * (vertices[i + 1].y - vertices[i].y)};
                answers.Give({At(p)});
                platform::SetLineInput(&answers);
                sds_name picked = {0, 0};
                sds_point at = {0, 0, 0};
                if (sds_entsel("", picked, at) == RTNORM && picked[0] == name[0] &&
                    picked[1] == name[1]) {
                    found = p;
                    break;
                }
            }
        }
        all = all && found.has_value();
        g_scene.barPicks.push_back(found.value_or(Point{0, 0}));
    }
    platform::SetOutputSink(nullptr, nullptr);
    platform::SetLineInput(previous);
    return all;
}

// The main text of the first leader in the drawing (its insertion point).
Point FirstLeaderText() {
    sds_name all = {0, 0};
    sds_ssget("X", nullptr, nullptr, nullptr, all);
    long length = 0;
    sds_sslength(all, &length);
    CSDSXDataPret xdata;
    Point found = {0, 0};
    for (long i = 0; i < length; ++i) {
        sds_name entity = {0, 0};
        sds_ssname(all, i, entity);
        CRodDescriptionLink link;
        xdata.ReadDescriptionLink(entity, "ORV_ARMAVO", link);
        if (link.type == "OpisOdn-Dl") {
            rblist::Owned list(sds_entget(entity));
            const resbuf* at = rblist::Find(list.get(), 10);
            found = {at->resval.rpoint[0], at->resval.rpoint[1]};
            break;
        }
    }
    sds_ssfree(all);
    return found;
}

struct Figure {
    double cpu = 0;   // ms per run
    double real = 0;  // ms per run
    bool error = false;
};
std::map<std::string, std::map<int, Figure>> g_figures;
std::vector<std::string> g_order;

class Collector : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            std::string name = run.run_name.function_name;
            const size_t slash = name.rfind('/');
            const int size = std::atoi(name.c_str() + slash + 1);
            name = name.substr(0, slash);
            if (!g_figures.contains(name))
                g_order.push_back(name);
            Figure& f = g_figures[name][size];
            f.error = run.error_occurred;
            f.cpu = run.GetAdjustedCPUTime();
            f.real = run.GetAdjustedRealTime();
        }
    }
};

void RegisterAll(int size) {
    static std::vector<Case> cases = Cases();
    // ARMAVO_BENCH_ITERATIONS=n runs each command n times (for profiling).
    const char* asked = std::getenv("ARMAVO_BENCH_ITERATIONS");
    const int iterations = asked != nullptr ? std::atoi(asked) : size >= 1000 ? 10 : 5;
    for (const Case& c : cases) {
        benchmark::RegisterBenchmark((c.name + "/" + std::to_string(size)).c_str(),
                                     [&c](benchmark::State& state) { RunCase(state, c); })
            ->Unit(benchmark::kMillisecond)
            ->Iterations(c.code == kCmdOPR ? 3 : iterations);
    }
    const std::string file = "/tmp/armavo-bench-" + std::to_string(size);
    benchmark::RegisterBenchmark(("SAVE/" + std::to_string(size)).c_str(),
                                 [file](benchmark::State& state) {
                                     for (auto _ : state)
                                         host::SaveDrawingFile(file + ".dxf");
                                 })
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    benchmark::RegisterBenchmark(("EXPORT/" + std::to_string(size)).c_str(),
                                 [file](benchmark::State& state) {
                                     for (auto _ : state)
                                         host::ExportDrawingSvg(file + ".svg");
                                 })
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    benchmark::RegisterBenchmark(("OPEN/" + std::to_string(size)).c_str(),
                                 [file](benchmark::State& state) {
                                     for (auto _ : state) {
                                         if (!host::OpenDrawingFile(file + ".dxf"))
                                             state.SkipWithError("OPEN failed");
                                     }
                                 })
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
}

// The targets: ms at 10,000 bars.
double Target(const std::string& name) {
    if (name.rfind("OPR", 0) == 0)
        return 200;
    if (name == "OPEN" || name == "SAVE")
        return 1000;
    if (name == "EXPORT")
        return 0;
    return 50;
}

void PrintTable(const std::vector<int>& sizes) {
    std::printf("\n| Command | ");
    for (int size : sizes)
        std::printf("%d bars | ", size);
    std::printf("10,000 / 1,000 | target at 10,000 | met |\n|---|");
    for (size_t i = 0; i < sizes.size() + 3; ++i)
        std::printf("---:|");
    std::printf("\n");
    for (const std::string& name : g_order) {
        std::printf("| %s | ", name.c_str());
        for (int size : sizes) {
            const auto found = g_figures[name].find(size);
            if (found == g_figures[name].end())
                std::printf("- | ");
            else if (found->second.error)
                std::printf("error | ");
            else
                std::printf("%.1f ms | ", found->second.cpu);
        }
        const auto big = g_figures[name].find(10000);
        const auto small = g_figures[name].find(1000);
        const bool both = big != g_figures[name].end() && small != g_figures[name].end();
        const double ratio =
            both && small->second.cpu > 0 ? big->second.cpu / small->second.cpu : 0;
        both ? std::printf("%.1f | ", ratio) : std::printf("- | ");
        const double target = Target(name);
        target > 0 ? std::printf("%.0f ms | ", target) : std::printf("- | ");
        // OPEN and SAVE have a time to keep; the commands that draw also a growth.
        const bool growth = name != "OPEN" && name != "SAVE";
        if (big == g_figures[name].end() || target <= 0)
            std::printf("- |\n");
        else
            std::printf("%s |\n",
                        !big->second.error && big->second.cpu <= target && (!growth || ratio <= 12)
                            ? "yes"
                            : "NO");
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    std::vector<int> sizes = {100, 1000, 10000};
    if (const char* text = std::getenv("ARMAVO_BENCH_SIZES")) {
        sizes.clear();
        for (const char* p = text; *p != '\0';) {
            sizes.push_back(std::atoi(p));
            while (*p != '\0' && *p != ',')
                ++p;
            if (*p == ',')
                ++p;
        }
    }
    Collector collector;
    for (int size : sizes) {
        bool ok = false;
        const drawing_generator::Generated drawing = drawing_generator::Generate(size, ok);
        if (!ok) {
            std::fprintf(stderr, "The drawing of %d bars could not be made:\n%s\n", size,
                         drawing.transcript.c_str());
            return 1;
        }
        std::printf("Drawing of %d bars: %ld entities, %d bar numbers\n", drawing.bars,
                    drawing.entities, drawing.numbers);
        std::fflush(stdout);
        g_scene = Scene{};
        g_scene.bars = drawing.bars;
        g_scene.blocks = drawing.bars / drawing_generator::kBarsPerBlock;
        g_scene.step = drawing.blockStep;
        const auto bars = drawing.barNames;
        RegisterAll(size);
        host::RegisterVerb("BENCH", [&](const std::vector<std::string>&) {
            if (!FindPicks(bars)) {
                std::fprintf(stderr, "No point picks every bar of the block.\n");
                return false;
            }
            g_scene.leaderText = FirstLeaderText();
            // ARMAVO_BENCH_ONLY=text runs only the commands whose name begins so.
            const char* only = std::getenv("ARMAVO_BENCH_ONLY");
            benchmark::RunSpecifiedBenchmarks(
                &collector, "^" + std::string(only != nullptr ? only : "") + ".*/" +
                                std::to_string(size) + "/");
            return true;
        });
        testkit::ScenarioOptions options;
        options.entry = SDS_EntryPoint;
        options.newDrawing = false;
        testkit::RunScenario({"PANEL steel RB500W", "PANEL diameter 12", "BENCH"}, options);
        benchmark::ClearRegisteredBenchmarks();
    }
    PrintTable(sizes);
    // The files SAVE and EXPORT wrote are of no use afterwards.
    for (int size : sizes) {
        for (const char* ending : {".dxf", ".svg"})
            std::remove(("/tmp/armavo-bench-" + std::to_string(size) + ending).c_str());
    }
    benchmark::Shutdown();
    return 0;
}
