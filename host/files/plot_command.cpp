// PLOT at the command line: the three questions, the refusal of a scale that does not fit,
// and the file written as SAVE writes its files.
#include "host/files/plot_command.h"

#include <ctime>
#include <filesystem>

#include "host/console/input_sources.h"
#include "host/console/input_text.h"
#include "host/console/run_status.h"
#include "host/drawing/document.h"
#include "host/files/dxf_writer.h"
#include "host/files/plot_sheet.h"
#include "host/sds.h"

namespace host {
namespace {

constexpr const char* kFormatPrompt = "Format arkusza [A4/A3/A2/A1/A0] <A3>: ";
constexpr const char* kOrientationPrompt = "Orientacja [Pozioma/pIonowa] <Pozioma>: ";
constexpr const char* kScalePrompt = "Skala rysunku 1:<50>: ";

PlottedFile g_last;

std::string Today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    char text[16] = "";
    if (localtime_r(&now, &local))
        std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

// The three answers; false when the user cancelled.
bool AskSheet(const svg::Bounds& bounds, SheetChoice& sheet) {
    char answer[512] = "";
    sds_initget(0, "A4 A3 A2 A1 A0");
    int rc = sds_getkword(kFormatPrompt, answer);
    if (rc == RTCAN)
        return false;
    sheet.format = rc == RTNORM ? answer : "A3";
    sds_initget(0, "Pozioma pIonowa");
    rc = sds_getkword(kOrientationPrompt, answer);
    if (rc == RTCAN)
        return false;
    sheet.landscape = rc != RTNORM || std::string(answer) == "Pozioma";
    for (;;) {
        int scale = 50;
        sds_initget(SDS_RSG_NOZERO | SDS_RSG_NONEG, nullptr);
        rc = sds_getint(kScalePrompt, &scale);
        if (rc == RTCAN)
            return false;
        sheet.scale = rc == RTNORM ? scale : 50;
        if (FitsOnSheet(bounds, sheet))
            return true;
        PrintLine("Rysunek nie mieści się na arkuszu " + sheet.format +
                  " w skali 1:" + std::to_string(sheet.scale) + "; mieści się w skali 1:" +
                  std::to_string(LargestFittingScale(bounds, sheet)) + ".");
        NoteRefusedAnswer();
    }
}

}  // namespace

bool PlotDrawingFile(const std::string& path) {
    if (LowerText(std::filesystem::path(path).extension().string()) != ".pdf") {
        PrintLine("Nie można wydrukować rysunku do " + path + ": PLOT zapisuje pliki .pdf.");
        return false;
    }
    const PlotItems plot = WalkDrawing(CurrentDrawing());
    SheetChoice sheet;
    if (!AskSheet(plot.bounds, sheet)) {
        PrintLine("Rysunek nie został wydrukowany.");
        return true;
    }
    const std::string& file = DrawingFile();
    const TitleBlock title{
        file.empty() ? "bez nazwy" : std::filesystem::path(file).filename().string(), Today()};
    std::string bytes, error;
    if (!PlotPdf(plot, sheet, title, bytes, error) || !WriteFileAtomically(path, bytes, error)) {
        PrintLine("Nie można wydrukować rysunku do " + path + ": " + error + ".");
        return false;
    }
    PrintLine("Wydrukowano rysunek do " + path + " (arkusz " + SheetName(sheet) +
              ", skala 1:" + std::to_string(sheet.scale) + ").");
    if (!plot.leftOut.empty())
        PrintLine("Pominięto w PDF: " + LeftOutSummary(plot.leftOut));
    g_last = PlottedFile{g_last.serial + 1, path, std::move(bytes)};
    return true;
}

const PlottedFile& LastPlottedFile() {
    return g_last;
}

std::string DefaultPlotFile() {
    const std::string& file = DrawingFile();
    return file.empty() ? "rysunek.pdf"
                        : std::filesystem::path(file).replace_extension(".pdf").string();
}

}  // namespace host
