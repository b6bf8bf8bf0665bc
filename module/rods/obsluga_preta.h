// The rod-handling object: the working object of every drawing command, with the drawing
// conventions the rod commands share (layers, type tags, undo groups, prompts, snapping).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "host/sds.h"
#include "module/entities/hatch.h"
#include "module/entities/layer_group.h"
#include "module/entities/line_circle.h"
#include "module/entities/point_ext.h"
#include "module/entities/polyline.h"
#include "module/entities/sds_base.h"
#include "module/entities/text.h"
#include "module/entities/xdata.h"
#include "module/model/rod_records.h"

class CToolBarDlg;

namespace rods {

// String-table ids of the record key, type tags, layers and keywords.
enum StringId : int {
    kIdDimensionTag = 1,
    kIdRecordKey = 2,
    kIdBarTag = 4,
    kIdDescriptionTag = 5,
    kIdLeaderTag = 6,
    kIdDescriptionNumberTag = 7,
    kIdLeaderNumberTag = 8,
    kIdLeaderSignTag = 9,
    kIdLeaderCountTag = 10,
    kIdLeaderMainTag = 11,
    kIdPointPrompt = 21,
    kIdOffsetKeyword = 22,
    kIdBasePointPrompt = 23,
    kIdOffsetXPrompt = 24,
    kIdOffsetYPrompt = 25,
    kIdFirstHookPrompt = 26,
    kIdSecondHookPrompt = 27,
    kIdBarLayer = 32,
    kIdMainBarLayer = 33,
    kIdDimensionLayer = 49,
    kIdDescriptionLayer = 56,
    kIdTooFewPoints = 901,
};

inline constexpr int kByLayer = 256;
inline constexpr const char* kContinuous = "CONTINUOUS";
inline constexpr const char* kTextStyle = "STANDARD";
inline constexpr const char* kSymbolStyle = "ORV_SYMBOLE";
inline constexpr const char* kSymbolFont = "ORV-symbole.shx";
inline constexpr int kBarLayerColour = 5;
inline constexpr int kMainBarLayerColour = 2;
inline constexpr int kDescriptionLayerColour = 7;
inline constexpr int kDimensionLayerColour = 4;

// Bars of 12 mm and more go on the main-bar layer; the test tolerates rounding of 12.
bool IsMainBarDiameter(double diameterMm);

// One bar of the drawing, as the numbering and counting see it.
struct BarEntry {
    sds_name name = {0, 0};
    CRodXDataParameters record;
};

}  // namespace rods

// Scope of one undo step: "_UNDO _BEGIN" on opening, "_UNDO _END" on Close() or, for an
// early exit, on destruction.
class UndoGroup {
  public:
    explicit UndoGroup(bool open = true);
    ~UndoGroup();
    UndoGroup(const UndoGroup&) = delete;
    UndoGroup& operator=(const UndoGroup&) = delete;
    void Close();
    bool IsOpen() const { return open_; }

  private:
    bool open_ = false;
};

class CObslugaPreta {
  public:
    explicit CObslugaPreta(CToolBarDlg* panel);
    virtual ~CObslugaPreta();
    CObslugaPreta(const CObslugaPreta&) = delete;
    CObslugaPreta& operator=(const CObslugaPreta&) = delete;

    // Drawing conventions --------------------------------------------------------------------
    static std::string PromptWithDefault(const std::string& message, double value);
    // Asks a base point (rubber band from `base` when given) and the X and Y offsets; `point`
    // gets the base point, and keeps what it held when the base point is not given.
    void PromptOffsetPoint(const sds_point base, sds_point point);
    // The running-object-snap mode text of an OSMODE value ("off" for 0).
    static std::string SnapModeText(int osmode);
    int SnapPoint(const sds_point point, sds_point result);
    // 1 when at least one vertex was read from the bar, else 0.
    static int LoadRodVertices(const sds_name bar, std::vector<CSDSPointExt>& vertices);
    // Makes the bar layer of the diameter when missing; its name.
    std::string EnsureBarLayer(double diameterMm);
    // Pick tolerance: 1/100 of the view height.
    static double PickTolerance();

    // Bar geometry on the panel's values and the object's vertex list ------------------------
    int HookLength() const;
    static int HookLength(double diameterMm);
    double BendDiameter() const;
    int ChooseHookSides();
    void RoundCorners(double bendDiameter, bool smooth, int hooks);
    static double TurnDirection(const sds_point p, const sds_point q, const sds_point s);
    static double BarLength(const std::vector<CSDSPointExt>& vertices);
    static int IsNearSegment(const sds_point a, const sds_point b, const sds_point pick,
                             sds_point nearest);
    static int IsNearLine(const sds_point a, const sds_point b, const sds_point pick);

    // Descriptions and segment dimensions ----------------------------------------------------
    int DrawDescription(const sds_name bar, const sds_point pick,
                        const std::vector<CSDSPointExt>& vertices, int number, int count,
                        double diameterMm);
    void DrawSegmentDimension(const sds_name bar, const sds_point a, const sds_point b, double beta,
                              double height);
    // `replacingBar` may be null; when given, the leader records are made to name it.
    void UpdateLeaderTexts(const sds_name bar, bool numberFlag, bool textsFlag,
                           const std::vector<CSDSPointExt>& vertices, const sds_name replacingBar);
    int DeleteDescription(const sds_name bar);
    int DescriptionAnchor(const sds_name bar, const std::vector<CSDSPointExt>& vertices,
                          sds_point point);
    // Draws the bar's description again at its anchor, if it had one. 1 when redrawn.
    int RedrawDescription(const sds_name bar, const std::vector<CSDSPointExt>& vertices,
                          int number);

    // Inserting and numbering bars -----------------------------------------------------------
    void InsertBar();
    void FinishBar(double bendDiameter, bool smooth, int hooks);
    int FindFirstNumberGap();
    void RenumberFrom(int n);
    int CountRods(int mode);
    // Every bar of the drawing with its record, in the order the drawing lists them.
    std::vector<rods::BarEntry> ListBars();

    // Entity objects.
    CSDSCircleHatch circleHatch;
    CSDSTextStyle textStyle;
    CSDSXDataPret xdata;
    CSDSLine line;
    CSDSLayer layer;
    CSDSCircle circle;
    CSDSGroup group;
    CSDSBaseClass typeReader;
    CSDSText text;
    CSDSPolyLine polyline;

    // Names of the temporary rubber lines, two words per entity name.
    std::vector<std::uint32_t> temporaries;

    // Remembered real defaults.
    double defaultLongitudinalCover = 0.0;
    double defaultTransverseCover = 0.0;
    double defaultEditLength = 10.0;
    double defaultFourth = 10.0;

    // Defaults of the offset prompts; each entry overwrites them for the rest of the command.
    double offsetX = 0.0;
    double offsetY = 0.0;

    // The bar being drawn or edited.
    std::vector<CSDSPointExt> vertices;

    // Remembered keyword texts.
    std::string lastSectionParameter;
    std::string LastEditOption;
    std::string lastSectionEditOption;
    std::string LastLengthMode;
    std::string lastProjectionDirection;
    std::string LastDescriptionMode;
    std::string LastCopyMode;
    std::string lastDragAnswer;

    CToolBarDlg* panel = nullptr;

  private:
    void RememberTemporary();
    void DeleteTemporaries();
    void MarkWithDescriptionLink(const std::string& tag, const std::string& owner,
                                 const sds_point pick);
    void RewriteLeaderLink(const sds_name entity, const std::string& owner);
    void GiveNumber(const sds_name bar, int number);

    // ==== Dimension texts and descriptions of a bar (options of the edit command) ============
    // The bar comes picked: whoever calls these ran the bar selection first.
  public:
    // Picks the entity an operation works on with `prompt`: a bar, or with `projectionsToo`
    // also a projection line of a bar. False when the user gave up (Esc, picker cancelled).
    using RodPicker =
        std::function<bool(const std::string& prompt, bool projectionsToo, sds_name picked)>;

    // Removes the bar's dimension texts, or draws them when it has none, in one undo step.
    // The number of texts drawn, minus the number removed; 0 when nothing changed.
    int ToggleRodDimensions(const sds_name bar);
    // Deletes the bar's own dimension entities, found by the owner handle in their records.
    int DeleteRodDimensions(const sds_name bar);
    // One length text per segment, hook strokes included, in one undo step. Texts drawn.
    int DrawRodDimensions(const sds_name bar, const std::vector<CSDSPointExt>& barVertices);
    // The description sub-prompt; runs until Esc. `pick` takes the bar of each answer.
    void DescribeRod(const RodPicker& pick);
    // Removes the description beside the bar, or draws it at its anchor when it has none.
    // 1 drawn, -1 removed, 0 nothing drawn (no straight segment, or not a bar).
    int ToggleRodDescription(const sds_name bar);
    // Asks the leader's start, second and direction points and draws a description of the bar
    // or projection line on it, one anonymous group. `numberOnly` 1: the number in its circle
    // only. 1 drawn; 0 not drawn (not a bar or projection line, or the drawing failed: pick
    // again); -1 given up at a point prompt.
    int DrawLeaderDescription(const sds_name target, int numberOnly);
    // Whether `point` lies on a straight segment of the bar (hook strokes counted only when
    // `includeHooks`); then `point` becomes its foot on that segment, whose index is `segment`.
    bool FindDivisionSegment(sds_point point, const sds_name bar, int& segment, int includeHooks);

  private:
    // Entities of the given types whose record has one of `tags` and names `ownerHandle` as
    // owner, in drawing order.
    std::vector<std::array<long, 2>> FindOwnedEntities(const std::string& ownerHandle,
                                                       const std::vector<std::string>& types,
                                                       const std::vector<std::string>& tags);
    int LeaderStartPoint(const sds_name target, bool isBar, sds_point start);
    int MakeLeader(const sds_name target, bool isBar, const sds_point start, const sds_point second,
                   const sds_point direction, int numberOnly);
    // ==========================================================================================

    // ==== Reshaping bars (options of the edit command) and editing leader descriptions =======
    // Dividing and changing diameter and steel take a bar the caller picked; length editing and
    // polyline replacement ask for their entities with prompts of their own, as they take no
    // pre-selected bar. Each change of the drawing is one undo step.
  public:
    // ERD: asks for a piece of a leader description and rewrites its texts in the editor,
    // lengthening the shelf when the new texts need more room.
    void EditDescription();
    // Whether `entity` is a piece of a leader description; `members` then receives a new
    // selection set (free it) of the members of its group.
    bool IsLeaderDescription(const sds_name entity, sds_name members);
    // Asks for a polyline that is not a bar yet and makes a bar of it as if it had been drawn.
    void ReplacePolyline();
    // Gives the picked bar the panel's diameter, steel and corner rounding.
    void ChangeDiameterSteel(const sds_name bar);
    // Reads the bar into `barVertices`, takes out the rounding its corners were given and
    // refits its hooks (or drops them for ribbed steel); the hook code of the result.
    int RefitRodShape(const sds_name bar, std::vector<CSDSPointExt>& barVertices, double diameterMm,
                      bool smooth);
    // The shorten/lengthen sub-prompt; runs until Esc.
    void EditRodLength();
    void ShortenRods();
    void LengthenRods();
    // Moves the end of the straight segment picked near `pick` by the edit length. True when
    // the bar (and the bars of its number) changed.
    bool ChangeRodLength(const sds_point pick, const sds_name bar, bool shorten);
    // Asks the division point on the picked bar and divides it there.
    void DivideRod(const sds_name bar);
    // Divides the bar at `point` on its straight segment `segment`. True when divided.
    bool SplitRod(const sds_point point, const sds_name bar, int segment);

  private:
    // Other bars with the bar's number (drawn-out copies), in drawing order.
    std::vector<std::array<long, 2>> ReshapeSameNumberBars(const sds_name bar, int number);
    // A new bar polyline with the record on the layer of the record's diameter.
    bool ReshapeDrawBar(const std::vector<CSDSPointExt>& barVertices,
                        const CRodXDataParameters& record, sds_name made);
    // Texts of `oldBar` made again for the bars that replace it: dimension texts and the
    // description when it had them; its leaders come to describe the first replacement.
    void ReshapeTexts(const sds_name oldBar, const std::vector<std::array<long, 2>>& parts);
    // Replaces `oldBar` by `barVertices` moved by `offset` with `record`: new polyline, texts,
    // the old one deleted. False (and nothing changed) when the polyline could not be made.
    bool ReshapeReplace(const sds_name oldBar, const std::vector<CSDSPointExt>& barVertices,
                        const double offset[2], const CRodXDataParameters& record, sds_name made);
    // Highlights the bar with every entity that names it as owner.
    void ReshapeHighlight(const sds_name bar);
    // ==========================================================================================
};

// Handle text of an entity, "" when it cannot be read.
std::string EntityHandle(const sds_name entity);
