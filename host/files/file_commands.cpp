// OPEN, SAVE, EXPORT and PLOT at the command line: a file is read into a drawing built aside and
// swapped in only when the whole file was read and unsaved changes were dealt with.
#include "host/files/file_commands.h"

#include <filesystem>

#include "host/console/command_line.h"
#include "host/console/input_sources.h"
#include "host/console/input_text.h"
#include "host/console/link.h"
#include "host/console/unsaved_work.h"
#include "host/drawing/database.h"
#include "host/drawing/document.h"
#include "host/files/dxf_reader.h"
#include "host/files/dxf_writer.h"
#include "host/files/plot_command.h"
#include "host/files/svg_export.h"
#include "host/host.h"

namespace host {
namespace {

// File names may hold blanks: the words after the verb are the name.
std::string JoinWords(const std::vector<std::string>& words) {
    std::string name;
    for (const std::string& word : words) {
        if (!name.empty())
            name += ' ';
        name += word;
    }
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"') {
        name = name.substr(1, name.size() - 2);
    }
    return name;
}

bool WithFileName(const std::vector<std::string>& words, const char* usage,
                  bool (*action)(const std::string&)) {
    std::string name = JoinWords(words);
    if (name.empty()) {
        PrintLine(usage);
        return false;
    }
    return action(name);
}

// Reads the file into a drawing built aside; false, having told why, when it cannot.
bool ReadDrawingFile(const std::string& path, Database& drawing, DxfReadResult& result) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        PrintLine("Nie można otworzyć pliku " + path + ": to jest folder.");
        return false;
    }
    FileBytes data;
    if (!data.Open(path)) {
        PrintLine(std::string(data.Opened() ? "Nie można przeczytać pliku "
                                            : "Nie można otworzyć pliku ") +
                  path + ".");
        return false;
    }
    drawing = Database::Empty();
    result = ReadDxf(data, drawing);
    if (result.readFailed) {
        PrintLine("Nie można przeczytać pliku " + path + ".");
        return false;
    }
    if (!result.ok) {
        PrintLine("Nie można wczytać rysunku " + path + ": wiersz " + std::to_string(result.line) +
                  ": " + result.error + ". Otwarty rysunek pozostaje bez zmian.");
        return false;
    }
    return true;
}

}  // namespace

bool OpenDrawingFile(const std::string& path) {
    Database drawing = Database::Empty();
    DxfReadResult result;
    if (!ReadDrawingFile(path, drawing, result)) {
        return false;
    }
    // Asked only once the file proved readable, so that a broken file costs no question.
    // Saving may have written that very file: it is then read again.
    const bool changed = DrawingChanged();
    switch (ConfirmDroppingChanges()) {
        case Outcome::Done:
            break;
        case Outcome::Cancelled:
            PrintLine("Rysunek " + path + " nie został otwarty.");
            return true;
        case Outcome::Failed:
            PrintLine("Rysunek " + path + " nie został otwarty.");
            return false;
    }
    if (changed && !DrawingChanged() && !ReadDrawingFile(path, drawing, result)) {
        return false;
    }
    ReplaceDrawing(std::move(drawing));
    MarkDrawingSaved(path);
    PrintLine("Wczytano rysunek " + path + " (obiektów: " + std::to_string(result.objectsRead) +
              ").");
    if (result.SkippedCount() > 0) {
        PrintLine("Pominięto nieobsługiwane obiekty: " + std::to_string(result.SkippedCount()) +
                  " (" + result.SkippedSummary() + ").");
    }
    if (result.refused > 0) {
        PrintLine("Pominięto błędne obiekty: " + std::to_string(result.refused) + ".");
    }
    for (const std::string& warning : result.warnings)
        PrintLine(warning);
    return true;
}

bool SaveDrawingFile(const std::string& path) {
    std::string error;
    if (!SaveDxfFile(CurrentDrawing(), path, error)) {
        PrintLine("Nie można zapisać rysunku " + path + ": " + error + ".");
        return false;
    }
    MarkDrawingSaved(path);
    PrintLine("Zapisano rysunek " + path + ".");
    return true;
}

bool ExportDrawingSvg(const std::string& path) {
    std::string error;
    LeftOut leftOut;
    if (!ExportSvgFile(CurrentDrawing(), path, error, &leftOut)) {
        PrintLine("Nie można wyeksportować rysunku do " + path + ": " + error + ".");
        return false;
    }
    PrintLine("Wyeksportowano rysunek do " + path + ".");
    // The picture is still written; what it lacks is said, never left to be discovered.
    if (!leftOut.empty())
        PrintLine("Pominięto w SVG: " + LeftOutSummary(leftOut));
    return true;
}

bool ExportDrawing(const std::string& path) {
    const std::string extension = LowerText(std::filesystem::path(path).extension().string());
    if (extension == ".svg") {
        return ExportDrawingSvg(path);
    }
    const int code = extension.size() > 1 ? ModuleExportCode(extension.substr(1)) : -1;
    if (code < 0) {
        std::string kinds = ".svg";
        for (const std::string& known : ModuleExportExtensions()) {
            kinds += ", ." + known;
        }
        PrintLine("Nie można wyeksportować rysunku do " + path +
                  ": nieznany rodzaj pliku; EXPORT zapisuje pliki " + kinds + ".");
        return false;
    }
    // The module makes the file's content; the host writes it as it writes its own files.
    HandToModule(code, {path}, [path](bool moduleDone) {
        std::optional<std::string> bytes = TakeHandedData();
        if (!moduleDone || !bytes) {
            PrintLine("Nie wyeksportowano rysunku do " + path + ".");
            return false;
        }
        std::string error;
        if (!WriteFileAtomically(path, *bytes, error)) {
            PrintLine("Nie można wyeksportować rysunku do " + path + ": " + error + ".");
            return false;
        }
        PrintLine("Wyeksportowano rysunek do " + path + ".");
        return true;
    });
    return true;
}

void RegisterFileCommands() {
    RegisterVerb("OPEN", [](const std::vector<std::string>& words) {
        return WithFileName(words, "Użycie: OPEN plik.dxf", OpenDrawingFile);
    });
    // SAVE without a name saves to the drawing's own file (or asks for a name).
    RegisterVerb("SAVE", [](const std::vector<std::string>& words) {
        return SaveDrawing(JoinWords(words)) != Outcome::Failed;
    });
    SetDrawingSaver(SaveDrawingFile);
    RegisterVerb("EXPORT", [](const std::vector<std::string>& words) {
        return WithFileName(words, "Użycie: EXPORT plik.svg (albo plik.csv, plik.abs)",
                            ExportDrawing);
    });
    RegisterVerb("PLOT", [](const std::vector<std::string>& words) {
        return WithFileName(words, "Użycie: PLOT plik.pdf", PlotDrawingFile);
    });
}

}  // namespace host
