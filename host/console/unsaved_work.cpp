// The question about unsaved changes and saving under the drawing's own file name.
#include "host/console/unsaved_work.h"

#include <filesystem>
#include <string>

#include "host/console/input_sources.h"
#include "host/drawing/document.h"
#include "host/sds.h"

namespace host {
namespace {

DrawingSaver g_saver = nullptr;

constexpr const char* kQuestion = "Zapisać zmiany w rysunku? [Tak/Nie/Anuluj]: ";
constexpr const char* kNamePrompt = "Nazwa pliku rysunku: ";

// A name given without an extension is saved as a drawing file, as CAD programs do.
std::string WithDrawingExtension(const std::string& name) {
    const std::filesystem::path path(name);
    if (!path.has_filename() || path.has_extension()) {
        return name;
    }
    return name + ".dxf";
}

}  // namespace

void SetDrawingSaver(DrawingSaver saver) {
    g_saver = saver;
}

Outcome SaveDrawing(const std::string& path) {
    // The drawing's own file keeps its name; a name given gets the extension it lacks.
    std::string name = path.empty() ? DrawingFile() : WithDrawingExtension(path);
    if (name.empty()) {
        char typed[512] = "";
        if (sds_getstring(1, kNamePrompt, typed) != RTNORM || typed[0] == '\0') {
            PrintLine("Rysunek nie został zapisany.");
            return Outcome::Cancelled;
        }
        name = typed;
        if (name.size() >= 2 && name.front() == '"' && name.back() == '"') {
            name = name.substr(1, name.size() - 2);  // a name with blanks, quoted as at SAVE
        }
        name = WithDrawingExtension(name);
    }
    if (g_saver == nullptr) {
        PrintLine("Nie można zapisać rysunku " + name + ": ten program nie zapisuje plików.");
        return Outcome::Failed;
    }
    return g_saver(name) ? Outcome::Done : Outcome::Failed;
}

Outcome ConfirmDroppingChanges() {
    if (!DrawingChanged()) {
        return Outcome::Done;
    }
    if (!AtLineStart()) {
        Print("\n");
    }
    // Enter is no answer here: a stray empty line must neither save nor drop the work.
    sds_initget(SDS_RSG_NONULL, "Tak Nie Anuluj");
    char answer[512] = "";
    if (sds_getkword(kQuestion, answer) != RTNORM) {
        return Outcome::Cancelled;
    }
    const std::string chosen = answer;
    if (chosen == "Tak") {
        const Outcome saved = SaveDrawing("");
        // A save that did not happen keeps the session, so that nothing is lost.
        return saved;
    }
    return chosen == "Nie" ? Outcome::Done : Outcome::Cancelled;
}

void TellChangesDropped() {
    if (DrawingChanged()) {
        PrintLine("Program kończy pracę bez zapisania zmian w rysunku.");
    }
}

}  // namespace host
