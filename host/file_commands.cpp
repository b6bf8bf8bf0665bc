// OPEN, SAVE and EXPORT at the command line: a file is read into a drawing built aside and
// swapped in only when the whole file was read.
#include "host/file_commands.h"

#include "host/database.h"
#include "host/dxf_reader.h"
#include "host/dxf_writer.h"
#include "host/host.h"
#include "host/input_sources.h"
#include "host/svg_export.h"

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

}  // namespace

bool OpenDrawingFile(const std::string& path) {
    std::string data;
    bool opened = false;
    if (!ReadWholeFile(path, data, opened)) {
        PrintLine(
            std::string(opened ? "Nie można przeczytać pliku " : "Nie można otworzyć pliku ") +
            path + ".");
        return false;
    }
    Database drawing = Database::Empty();
    DxfReadResult result = ReadDxf(data, drawing);
    if (!result.ok) {
        PrintLine("Nie można wczytać rysunku " + path + ": wiersz " + std::to_string(result.line) +
                  ": " + result.error + ". Otwarty rysunek pozostaje bez zmian.");
        return false;
    }
    ReplaceDrawing(std::move(drawing));
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
    PrintLine("Zapisano rysunek " + path + ".");
    return true;
}

bool ExportDrawingSvg(const std::string& path) {
    std::string error;
    if (!ExportSvgFile(CurrentDrawing(), path, error)) {
        PrintLine("Nie można wyeksportować rysunku do " + path + ": " + error + ".");
        return false;
    }
    PrintLine("Wyeksportowano rysunek do " + path + ".");
    return true;
}

void RegisterFileCommands() {
    RegisterVerb("OPEN", [](const std::vector<std::string>& words) {
        return WithFileName(words, "Użycie: OPEN plik.dxf", OpenDrawingFile);
    });
    RegisterVerb("SAVE", [](const std::vector<std::string>& words) {
        return WithFileName(words, "Użycie: SAVE plik.dxf", SaveDrawingFile);
    });
    RegisterVerb("EXPORT", [](const std::vector<std::string>& words) {
        return WithFileName(words, "Użycie: EXPORT plik.svg", ExportDrawingSvg);
    });
}

}  // namespace host
