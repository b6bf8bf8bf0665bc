// The rod-handling object's own conventions: undo groups, prompts with defaults, the offset
// point, running snaps, reading a bar's vertices, bar layers, and the geometry on its
// vertex list with the panel's current values.
#include "module/rods/obsluga_preta.h"

#include <cmath>
#include <cstdio>

#include "module/model/steel.h"
#include "module/resources/strings.h"
#include "module/rods/rod_geometry.h"
#include "module/ui/toolbar_dlg.h"

namespace rods {

bool IsMainBarDiameter(double d) {
    return std::fabs(d - 12.0) <= 12.0 * 1e-11 || d > 12.0;
}

}  // namespace rods

namespace {

// A host that keeps refusing must not hold the command in a loop for ever.
constexpr int kMaxUndoRetries = 100;

rods::Point ToPoint(const sds_point p) {
    return {p[0], p[1], p[2]};
}

void FromPoint(const rods::Point& p, sds_point out) {
    out[0] = p.x;
    out[1] = p.y;
    out[2] = p.z;
}

void SendUndo(const char* word) {
    for (int i = 0; i < kMaxUndoRetries; ++i) {
        if (sds_command(RTSTR, "_UNDO", RTSTR, word, RTNONE) != RTCAN) {
            return;
        }
    }
}

}  // namespace

// ---- UndoGroup --------------------------------------------------------------------------------

UndoGroup::UndoGroup(bool open) {
    if (open) {
        SendUndo("_BEGIN");
        open_ = true;
    }
}

void UndoGroup::Close() {
    if (open_) {
        open_ = false;
        SendUndo("_END");
    }
}

UndoGroup::~UndoGroup() {
    try {
        Close();
    } catch (const CSdsException&) {
        // Closing on an early exit must not turn that exit into a second failure.
    }
}

// ---- construction -----------------------------------------------------------------------------

CObslugaPreta::CObslugaPreta(CToolBarDlg* panelDlg)
    : lastSectionParameter(LoadUiString(15)),
      LastEditOption(LoadUiString(14)),
      lastSectionEditOption(LoadUiString(13)),
      LastLengthMode(LoadUiString(16)),
      lastProjectionDirection(LoadUiString(17)),
      LastDescriptionMode(LoadUiString(19)),
      LastCopyMode(LoadUiString(18)),
      lastDragAnswer(LoadUiString(20)),
      panel(panelDlg) {}

CObslugaPreta::~CObslugaPreta() {
    panel = nullptr;
}

// ---- prompts and input ------------------------------------------------------------------------

std::string CObslugaPreta::PromptWithDefault(const std::string& message, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, " <%.1f>: ", value);
    return message + buffer;
}

void CObslugaPreta::PromptOffsetPoint(const sds_point base, sds_point point) {
    sds_point picked = {point[0], point[1], point[2]};
    if (sds_getpoint(base, LoadUiString(rods::kIdBasePointPrompt).c_str(), picked) == RTNORM) {
        point[0] = picked[0];
        point[1] = picked[1];
        point[2] = picked[2];
    }
    // Enter or Esc at an offset prompt keeps the value shown as the default.
    sds_real value = offsetX;
    if (sds_getreal(PromptWithDefault(LoadUiString(rods::kIdOffsetXPrompt), offsetX).c_str(),
                    &value) == RTNORM) {
        offsetX = value;
    }
    value = offsetY;
    if (sds_getreal(PromptWithDefault(LoadUiString(rods::kIdOffsetYPrompt), offsetY).c_str(),
                    &value) == RTNORM) {
        offsetY = value;
    }
}

std::string CObslugaPreta::SnapModeText(int osmode) {
    if (osmode == 0) {
        return "off";
    }
    static const struct {
        int bit;
        const char* text;
    } kModes[] = {{1, "END, "},   {2, "mid, "},   {4, "cen, "},    {8, "po, "},
                  {16, "qua, "},  {32, "int, "},  {64, "ins, "},   {128, "per, "},
                  {256, "tan, "}, {512, "nea, "}, {1024, "vis, "}, {4096, "pla, "}};
    std::string text;
    for (const auto& mode : kModes) {
        if ((osmode & mode.bit) != 0) {
            text += mode.text;
        }
    }
    if (text.size() >= 2) {
        text.resize(text.size() - 2);
    }
    return text;
}

int CObslugaPreta::SnapPoint(const sds_point point, sds_point result) {
    resbuf value{};
    int osmode = 0;
    if (sds_getvar("OSMODE", &value) == RTNORM) {
        osmode = value.restype == RTLONG ? static_cast<int>(value.resval.rlong) : value.resval.rint;
    }
    return sds_osnap(point, SnapModeText(osmode).c_str(), result);
}

double CObslugaPreta::PickTolerance() {
    resbuf value{};
    if (sds_getvar("VIEWSIZE", &value) == RTNORM && value.restype == RTREAL) {
        return value.resval.rreal * 0.01;
    }
    return 1000.0 * 0.01;
}

// ---- reading bars and layers ------------------------------------------------------------------

int CObslugaPreta::LoadRodVertices(const sds_name bar, std::vector<CSDSPointExt>& out) {
    resbuf* list = sds_entget(bar);
    const int loaded = LoadRodVertices(list, out);
    sds_relrb(list);
    return loaded;
}

int CObslugaPreta::LoadRodVertices(const resbuf* list, std::vector<CSDSPointExt>& out) {
    out.clear();
    bool started = false;
    bool pending = false;
    CSDSPointExt vertex;
    for (const resbuf* rb = list; rb != nullptr; rb = rb->rbnext) {
        if (!started) {
            started = rb->restype == 39;
            continue;
        }
        switch (rb->restype) {
            case 10:
                // A vertex without a bulge group of its own still belongs to the bar: it is
                // kept, not overwritten by the next one.
                if (pending) {
                    out.push_back(vertex);
                }
                vertex.SetPoint(rb->resval.rpoint);
                pending = true;
                break;
            case 40:
                vertex.startWidth = rb->resval.rreal;
                break;
            case 41:
                vertex.endWidth = rb->resval.rreal;
                break;
            case 42:
                vertex.bulge = rb->resval.rreal;
                if (pending) {
                    out.push_back(vertex);
                    pending = false;
                }
                break;
            default:
                break;
        }
    }
    if (pending) {
        out.push_back(vertex);
    }
    return out.empty() ? 0 : 1;
}

std::string CObslugaPreta::EnsureBarLayer(double diameterMm) {
    const bool main = rods::IsMainBarDiameter(diameterMm);
    const std::string name = LoadUiString(main ? rods::kIdMainBarLayer : rods::kIdBarLayer);
    // Refused without change when the layer exists: it keeps its own colour.
    layer.Create(name, main ? rods::kMainBarLayerColour : rods::kBarLayerColour);
    return name;
}

std::string EntityHandle(const sds_name entity) {
    resbuf* list = sds_entget(entity);
    std::string handle = CSDSBaseClass::GetHandle(list);
    sds_relrb(list);
    return handle;
}

std::vector<std::array<long, 2>> RecordReferences(const std::string& handle) {
    std::vector<std::array<long, 2>> names;
    sds_name found = {0, 0};
    if (handle.empty() || sds_ssgetrecordref(handle.c_str(), found) != RTNORM) {
        return names;
    }
    long length = 0;
    sds_sslength(found, &length);
    names.reserve(static_cast<size_t>(length));
    for (long i = 0; i < length; ++i) {
        sds_name entity = {0, 0};
        if (sds_ssname(found, i, entity) == RTNORM) {
            names.push_back({entity[0], entity[1]});
        }
    }
    sds_ssfree(found);
    return names;
}

// ---- geometry with the panel's values ---------------------------------------------------------

int CObslugaPreta::HookLength(double diameterMm) {
    return rods::HookLength(diameterMm);
}

int CObslugaPreta::HookLength() const {
    return rods::HookLength(panel != nullptr ? panel->GetDiameter() : 0.0);
}

double CObslugaPreta::BendDiameter() const {
    if (panel == nullptr) {
        return 0.0;
    }
    return rods::BendDiameter(panel->GetDiameter(), panel->IsSmoothSelected());
}

void CObslugaPreta::RememberTemporary() {
    sds_name made = {0, 0};
    if (sds_entlast(made) == RTNORM) {
        temporaries.push_back(static_cast<std::uint32_t>(made[0]));
        temporaries.push_back(static_cast<std::uint32_t>(made[1]));
    }
}

int CObslugaPreta::ChooseHookSides() {
    // A hook leaves an end segment; with fewer than two vertices there is none to leave.
    if (vertices.size() < 2) {
        return rods::kNoHooks;
    }
    const double length = HookLength();
    int hooks = rods::kNoHooks;
    sds_point side = {0, 0, 0};
    if (sds_getpoint(nullptr, LoadUiString(rods::kIdFirstHookPrompt).c_str(), side) == RTNORM) {
        const rods::Point tip =
            rods::HookTip(rods::At(vertices[0]), rods::At(vertices[1]), ToPoint(side), length);
        vertices.insert(vertices.begin(), CSDSPointExt(tip.x, tip.y, tip.z));
        sds_point from;
        sds_point to;
        FromPoint(tip, from);
        vertices[1].GetPoint(to);
        if (line.Create(from, to, "0", rods::kContinuous, rods::kByLayer, 1.0) == RTNORM) {
            RememberTemporary();
        }
        hooks = rods::kFirstHook;
    }
    if (sds_getpoint(nullptr, LoadUiString(rods::kIdSecondHookPrompt).c_str(), side) != RTNORM) {
        return hooks;
    }
    const size_t n = vertices.size();
    const rods::Point tip =
        rods::HookTip(rods::At(vertices[n - 1]), rods::At(vertices[n - 2]), ToPoint(side), length);
    vertices.emplace_back(tip.x, tip.y, tip.z);
    sds_point from;
    sds_point to;
    vertices[n - 1].GetPoint(from);
    FromPoint(tip, to);
    if (line.Create(from, to, "0", rods::kContinuous, rods::kByLayer, 1.0) == RTNORM) {
        RememberTemporary();
    }
    return hooks == rods::kFirstHook ? rods::kBothHooks : rods::kSecondHook;
}

void CObslugaPreta::RoundCorners(double bendDiameter, bool smooth, int hooks) {
    rods::RoundCorners(vertices, bendDiameter, smooth, hooks);
}

double CObslugaPreta::TurnDirection(const sds_point p, const sds_point q, const sds_point s) {
    return rods::TurnDirection(ToPoint(p), ToPoint(q), ToPoint(s));
}

double CObslugaPreta::BarLength(const std::vector<CSDSPointExt>& list) {
    return rods::BarLength(list);
}

int CObslugaPreta::IsNearSegment(const sds_point a, const sds_point b, const sds_point pick,
                                 sds_point nearest) {
    rods::Point found;
    const bool near =
        rods::IsNearSegment(ToPoint(a), ToPoint(b), ToPoint(pick), PickTolerance(), found);
    FromPoint(found, nearest);
    return near ? 1 : 0;
}

int CObslugaPreta::IsNearLine(const sds_point a, const sds_point b, const sds_point pick) {
    return rods::IsNearLine(ToPoint(a), ToPoint(b), ToPoint(pick), PickTolerance()) ? 1 : 0;
}
