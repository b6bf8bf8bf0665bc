// The web front end on the session's thread: state for the page, and its answers.
#include "app/web/web_session.h"

#include <filesystem>

#include "app/web/dialog_json.h"
#include "app/web/json.h"
#include "host/drawing/database.h"
#include "host/files/plot_command.h"
#include "host/files/svg_export.h"
#include "host/sds.h"
#include "platform/console.h"
#include "platform/dialog.h"
#include "platform/script_panel.h"

namespace app::web {
namespace {

// The page shows only the latest few boxes that needed no answer.
constexpr size_t kNoticesKept = 5;

const char* KindName(platform::InputKind kind) {
    using platform::InputKind;
    switch (kind) {
        case InputKind::Text:
            return "text";
        case InputKind::Command:
            return "command";
        case InputKind::Point:
            return "point";
        case InputKind::Pick:
            return "pick";
        case InputKind::Number:
            return "number";
        case InputKind::Keyword:
            return "keyword";
        case InputKind::Dialog:
            return "dialog";
        case InputKind::Question:
            return "question";
    }
    return "text";
}

double RealVariable(const char* name, double fallback) {
    resbuf value{};
    if (sds_getvar(name, &value) != RTNORM) {
        return fallback;
    }
    if (value.restype == RTREAL) {
        return value.resval.rreal;
    }
    if (value.restype == RTSHORT) {
        return value.resval.rint;
    }
    return fallback;
}

std::string PlacementJson(const host::SvgPlacement& p) {
    JsonBuilder b;
    b.Open('{')
        .Key("minX")
        .Number(p.minX)
        .Key("maxY")
        .Number(p.maxY)
        .Key("scale")
        .Number(p.scale)
        .Key("margin")
        .Number(p.margin)
        .Close('}');
    return b.Text();
}

}  // namespace

void WebUi::DialogOpened(const platform::Dialog& dialog) {
    dialogs_.push_back(&dialog);
    platform::ScriptedBackend().DialogOpened(dialog);
}

void WebUi::DialogClosed(const platform::Dialog& dialog, int result) {
    std::erase(dialogs_, &dialog);
    platform::ScriptedBackend().DialogClosed(dialog, result);
}

std::optional<std::string> WebUi::NextDialogLine(const platform::Dialog& dialog) {
    return platform::ScriptedBackend().NextDialogLine(dialog);
}

void WebUi::ShowMessage(std::string_view caption, std::string_view text) {
    notices_.push_back({++serial_, std::string(caption), std::string(text)});
    if (notices_.size() > kNoticesKept) {
        notices_.erase(notices_.begin());
    }
    platform::ScriptedBackend().ShowMessage(caption, text);
}

std::optional<std::string> WebUi::AskQuestion(std::string_view caption, std::string_view text,
                                              std::string_view choices) {
    question_ = Question{std::string(caption), std::string(text), std::string(choices)};
    std::optional<std::string> answer =
        platform::ScriptedBackend().AskQuestion(caption, text, choices);
    question_.reset();
    return answer;
}

std::optional<std::string> WebInput::Fetch(std::string_view prompt) {
    host::SvgPlacement placement;
    std::string svg = host::ExportSvg(host::CurrentDrawing(), nullptr, &placement);
    const uint64_t picture = hub_.SetPicture(std::move(svg), PlacementJson(placement));
    if (const host::PlottedFile& plot = host::LastPlottedFile(); plot.serial != plot_) {
        hub_.SetPlot(std::filesystem::path(plot.path).filename().string(), plot.bytes);
        plot_ = plot.serial;
    }
    hub_.Publish(StateJson(prompt, picture));
    return hub_.WaitForLine();
}

std::string WebInput::StateJson(std::string_view prompt, uint64_t picture) const {
    const platform::InputRequest& request = platform::CurrentRequest();
    // The prompt's own line: what went before its last line break is already in the
    // transcript.
    const size_t lineStart = prompt.rfind('\n');
    JsonBuilder b;
    b.Open('{')
        .Key("prompt")
        .String(lineStart == std::string_view::npos ? prompt : prompt.substr(lineStart + 1))
        .Key("kind")
        .String(KindName(request.kind))
        .Key("base");
    if (request.hasBase) {
        b.Open('[').Number(request.base[0]).Number(request.base[1]).Close(']');
    } else {
        b.Raw("null");
    }
    b.Key("keywords").Open('[');
    for (const std::string& k : request.keywords) {
        b.String(k);
    }
    b.Close(']');
    b.Key("dialog");
    const platform::Dialog* dialog = ui_.OpenDialog();
    b.Raw(request.kind == platform::InputKind::Dialog && dialog != nullptr ? DialogJson(*dialog)
                                                                           : "null");
    b.Key("question");
    if (ui_.PendingQuestion() && request.kind == platform::InputKind::Question) {
        const WebUi::Question& q = *ui_.PendingQuestion();
        b.Open('{')
            .Key("caption")
            .String(q.caption)
            .Key("text")
            .String(q.text)
            .Key("choices")
            .String(q.choices)
            .Close('}');
    } else {
        b.Raw("null");
    }
    b.Key("notices").Open('[');
    for (const WebUi::Notice& n : ui_.Notices()) {
        b.Open('{')
            .Key("serial")
            .Number(n.serial)
            .Key("caption")
            .String(n.caption)
            .Key("text")
            .String(n.text)
            .Close('}');
    }
    b.Close(']');
    b.Key("panel");
    const platform::Dialog* panel = platform::ScriptPanel();
    b.Raw(panel != nullptr && panel->IsCreated() ? DialogJson(*panel) : "null");
    const double aperture = RealVariable("VIEWSIZE", 1000.0) * RealVariable("PICKBOX", 3) / 500.0;
    b.Key("aperture").Number(aperture).Key("picture").Number(static_cast<double>(picture));
    // The page's "Drukuj do PDF" plots to this file and fetches what PLOT wrote last.
    b.Key("plot")
        .Number(static_cast<double>(plot_))
        .Key("plotFile")
        .String(host::DefaultPlotFile());
    b.Close('}');
    return b.Text();
}

}  // namespace app::web
