#include "tests/support/fault_injection.h"

#include <algorithm>

#include "host/drawing/database.h"
#include "host/drawing/drawing_access.h"
#include "host/files/dxf_writer.h"
#include "host/sds/resbuf_count.h"
#include "module/audit/audit_scan.h"
#include "module/frame/entry_point.h"
#include "module/frame/frame.h"
#include "module/ui/toolbar_dlg.h"
#include "tests/support/audit.h"
#include "tests/support/scenario.h"

namespace testkit {
namespace {

// The panel's inputs that a running command locks.
const int kLockedInputs[] = {1004, 1006, 1017, 1008, 1015, 1011, 1012};

struct Run {
    std::string transcript;
    int status = 0;
};

Run RunLines(const std::vector<std::string>& lines, bool fresh, const std::string& settings) {
    const ScenarioOptions options{
        .entry = SDS_EntryPoint, .newDrawing = fresh, .files = false, .settingsFile = settings};
    std::string transcript = RunScenario(lines, options);
    return {transcript, LastScenarioStatus()};
}

// Lines left on layer 0: the rubber-band lines a command draws while it asks.
int LinesOnLayerZero() {
    const std::vector<EntityDump> entities = LiveEntities();
    return static_cast<int>(
        std::count_if(entities.begin(), entities.end(), [](const EntityDump& e) {
            return e.type == "LINE" && e.groups.find("(8 . \"0\")") != std::string::npos;
        }));
}

bool AnyHighlighted() {
    const std::vector<std::string> handles = LiveHandles();
    return std::any_of(handles.begin(), handles.end(), [](const std::string& handle) {
        sds_name name = {0, 0};
        return sds_handent(handle.c_str(), name) == RTNORM && host::IsHighlighted(name);
    });
}

bool SelectionLeft() {
    resbuf *grips = nullptr, *picks = nullptr;
    sds_ssgetfirst(&grips, &picks);
    const bool left = picks != nullptr;
    if (picks != nullptr && picks->restype == RTPICKS)
        sds_ssfree(picks->resval.rlname);
    sds_relrb(grips);
    sds_relrb(picks);
    return left;
}

bool PanelInputsEnabled() {
    CToolBarDlg* panel = ModulePanel();
    return panel != nullptr && std::all_of(std::begin(kLockedInputs), std::end(kLockedInputs),
                                           [&](int id) { return panel->IsControlEnabled(id); });
}

// The setup made again on a fresh drawing: its DXF, its temporary-line count and the
// settings file the following runs share.
struct Start {
    std::string dxf;
    std::string content;  // the entities and named objects, without handle counters
    int linesOnZero = 0;
    std::string settings;
    std::string problem;  // the setup itself went wrong
};

Start MakeStart(const FaultScenario& scenario) {
    const Run run = RunLines(scenario.setup, true, "");
    Start start{DrawingDxf(), DumpDrawing() + DumpNamedObjects(), LinesOnLayerZero(),
                LastSettingsFile()};
    if (run.status != 0)
        start.problem = "the setup failed (status " + std::to_string(run.status) + ")";
    else if (const std::string audit = AuditText(); scenario.auditedSetup && !audit.empty())
        start.problem = "the setup's drawing fails the audit:\n" + audit;
    if (!start.problem.empty())
        start.problem += "\n" + run.transcript;
    return start;
}

// Everything wrong after one run of `lines` on the start, faulted at answer `faultAt`; "" when
// nothing. The whole run (faultAt past the last answer) has to leave its change.
std::string CheckRun(const FaultScenario& scenario, const std::vector<std::string>& lines,
                     size_t faultAt) {
    const bool whole = faultAt == scenario.command.size();
    const Start start = MakeStart(scenario);
    if (!start.problem.empty())
        return start.problem;
    const long buffers = host::LiveResbufCount();
    const Run run = RunLines(lines, false, start.settings);
    std::string wrong;
    auto fault = [&](const std::string& what) { wrong += "  - " + what + "\n"; };
    if (host::LiveResbufCount() != buffers)
        fault("result buffers leaked");
    if (run.status != 0)
        fault("the script ended with status " + std::to_string(run.status));
    if (host::OpenUndoGroups() != 0)
        fault("an undo group is left open");
    if (faultAt >= scenario.selectionUsedAt && SelectionLeft())
        fault("a selection is left");
    if (AnyHighlighted())
        fault("entities are left highlighted");
    if (!PanelInputsEnabled())
        fault("the panel's inputs are left disabled");
    if (DrawingDxf() == start.dxf) {
        if (whole)
            fault("the whole run changed nothing");
    } else {
        // A command given up may have used handles for lines it drew while asking.
        if (!whole && faultAt < scenario.changeFrom &&
            DumpDrawing() + DumpNamedObjects() != start.content)
            fault("the drawing changed");
        if (LinesOnLayerZero() != start.linesOnZero)
            fault("temporary lines are left on layer 0");
        if (const std::string audit = AuditText(); !audit.empty())
            fault("the audit finds:\n" + audit);
        for (const audit::Finding& finding : audit::FindingsOfDrawing())
            fault("AUDIT finds: " + finding.text);
        const Run undo = RunLines(std::vector<std::string>(whole ? scenario.wholeRunSteps : 1, "U"),
                                  false, start.settings);
        if (DrawingDxf() != start.dxf)
            fault("U does not give the drawing back:\n" + undo.transcript);
    }
    return wrong.empty() ? "" : wrong + "  transcript:\n" + run.transcript;
}

}  // namespace

std::string DrawingDxf() {
    return host::WriteDxf(host::PrepareForFile(host::CurrentDrawing()));
}

std::string SweepFaults(const FaultScenario& scenario) {
    std::string failures;
    auto record = [&](const std::string& where, const std::string& wrong) {
        if (!wrong.empty())
            failures += scenario.name + ", " + where + ":\n" + wrong + "\n";
    };
    record("whole run", CheckRun(scenario, scenario.command, scenario.command.size()));
    for (size_t k = 1; k < scenario.command.size(); ++k) {
        const std::string answer =
            "answer " + std::to_string(k) + " (\"" + scenario.command[k] + "\")";
        std::vector<std::string> lines(scenario.command.begin(),
                                       scenario.command.begin() + static_cast<long>(k));
        record("end of input before " + answer, CheckRun(scenario, lines, k));
        lines.push_back("^C");
        record("Esc at " + answer, CheckRun(scenario, lines, k));
    }
    return failures;
}

}  // namespace testkit
