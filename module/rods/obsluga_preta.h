// The rod-handling object: the working object of every drawing command, with the drawing
// conventions the rod commands share (layers, type tags, undo groups, prompts, snapping).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>
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
#include "module/model/schedule_row.h"

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
    kIdPointOutOfRange = 902,
    kIdBarRefused = 903,
};

// The largest coordinate the host takes at a prompt; a vertex computed beyond it is refused
// as a typed one would be.
inline constexpr double kLargestCoordinate = 1e15;

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

// What a description shows of the row of bars, besides what follows from the bar itself: the
// count text ("" for one bar) and the spacing after "co" ("" when it shows none). Drawn for
// the first time it comes from the panel; a description made again keeps the one it showed.
struct ShownCounts {
    std::string count;
    std::string spacing;
};

// What the bars' numbers from 1 up leave: how many distinct ones are used, and the least
// number from 1 up that no bar carries (used + 1 when 1 .. used all are, lower for a gap).
struct Numbering {
    int used = 0;
    int firstFree = 1;
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
    // The same from the bar's list as sds_entget gives it.
    static int LoadRodVertices(const resbuf* barList, std::vector<CSDSPointExt>& vertices);
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
    // A description drawn for the first time: `count` and the panel's spacing.
    int DrawDescription(const sds_name bar, const sds_point pick,
                        const std::vector<CSDSPointExt>& vertices, int number, int count,
                        double diameterMm);
    int DrawDescription(const sds_name bar, const sds_point pick,
                        const std::vector<CSDSPointExt>& vertices, int number,
                        const rods::ShownCounts& shown, double diameterMm);
    // The count and spacing the bar's description shows; false when it has none.
    bool ReadShownCounts(const sds_name bar, rods::ShownCounts& shown);
    void DrawSegmentDimension(const sds_name bar, const sds_point a, const sds_point b, double beta,
                              double height);
    // `replacingBar` may be null; when given, the leader records are made to name it. With
    // `textsFlag` the sign, diameter and length follow the bar; the count and the spacing
    // stay as the leader shows them.
    void UpdateLeaderTexts(const sds_name bar, bool numberFlag, bool textsFlag,
                           const std::vector<CSDSPointExt>& vertices, const sds_name replacingBar);
    int DeleteDescription(const sds_name bar);
    int DescriptionAnchor(const sds_name bar, const std::vector<CSDSPointExt>& vertices,
                          sds_point point);
    // Draws the bar's description again at its anchor, if it had one, keeping the count and
    // spacing it showed. 1 when redrawn.
    int RedrawDescription(const sds_name bar, const std::vector<CSDSPointExt>& vertices,
                          int number);

    // Inserting and numbering bars -----------------------------------------------------------
    void InsertBar();
    void FinishBar(double bendDiameter, bool smooth, int hooks);
    int FindFirstNumberGap();
    // Closes the gap at `n`: the bars above it, their descriptions and leaders, then every
    // other record of a number follows the same old→new mapping. The old numbers that changed,
    // each with its new one.
    std::map<int, int> RenumberFrom(int n);
    // The renumbering step for views: projection records and the number texts of leaders on
    // projections and sections follow `renumbered` (old→new); those of the number `freed`,
    // whose bars are gone, get 0.
    void RenumberViews(const std::map<int, int>& renumbered, int freed);
    int CountRods(int mode);
    // Every bar of the drawing with its record, in the order the drawing lists them.
    std::vector<rods::BarEntry> ListBars();
    // What the host keeps indexed of the bars (bar_census.cpp), so that an edit needs no
    // reading of every bar: how many there are, the distinct numbers they carry (ascending),
    // what those numbers leave free, and the bars of one number in drawing order.
    int BarCount();
    std::vector<int> BarNumbers();
    rods::Numbering BarNumbering();
    std::vector<std::array<long, 2>> BarsNumbered(int number);

    // ==== Editing bars: the edit command, the bar selection every edit operation starts ====
    // ==== with and the clean-up it ends with (rod_edit.cpp, rod_selection.cpp) ==============
    // One option of the edit prompt: its keyword (string id) and its operation; an option
    // whose operation is null is not part of this build and says so.
    struct EditOption {
        int keyword;
        void (CObslugaPreta::*operation)();
    };
    // The options in the order an answer is matched against them; the last one, eject, also
    // takes every answer that matches none.
    static const std::vector<EditOption>& EditOptions();
    // The options of the dimension texts and of the description (rod_edit.cpp).
    void DimensionTextsOption();
    void DescriptionOption();
    void MoveOption();
    void CopyOption();
    void DeleteOption();
    void EjectOption();
    void DivideOption();
    void LengthOption();
    void DiameterSteelOption();
    void ReplacePolylineOption();
    // A sub-prompt of an option, "<title> <default>:" with its keywords: the keyword answered,
    // or `fallback` for Enter, into `chosen`. False when the user gave up (Esc; with
    // `errorEnds` also an error answer) or nothing usable came after many askings.
    static bool AskSubOption(const std::string& title, const std::string& keywords,
                             const std::string& fallback, bool errorEnds, std::string& chosen);
    // Picks a bar at the prompt (string id) and runs the operation on it.
    void RunOnPickedRod(int prompt, bool (CObslugaPreta::*operation)(const sds_name));
    // EDPR: the option prompt, until the user cancels it.
    void EditRod();
    // The bar an operation works on: the pre-selection, else what the user picks at
    // `prompt` (picks of anything else ask again; with `projectionsToo` a projection line of a
    // bar is taken too). False when the user cancelled; the operation then ends without a
    // change.
    bool PickRod(const std::string& prompt, sds_name bar, bool projectionsToo = false);
    // The pre-selection step of PickRod: of the pick-first selection only bars count; one
    // is taken silently, several through the bar picker. `cancelled` is set when the picker
    // was closed without a choice.
    bool TakePreselectedRod(sds_name bar, bool& cancelled);
    // An LWPOLYLINE carrying a bar record.
    bool IsRod(const sds_name entity);
    // The bar and every entity whose record names it as owner, by handle: made the
    // pick-first selection, highlighted, and added to `set` (a new set is made there when it
    // is the null name; the caller frees it). The number of members.
    long CollectRodGroup(const sds_name bar, sds_name set);
    // Whether an entity is a member of the group of the bar with handle `barHandle`: the bar
    // itself, or a description, dimension or leader piece whose record names it as owner.
    bool BelongsToRodGroup(const sds_name entity, const std::string& barHandle);
    // Shows the bar's group as CollectRodGroup does, keeping no set.
    void HighlightRodGroup(const sds_name bar);
    // Removes the texts, circles and polylines of leader descriptions from the set; the
    // number removed.
    long DropLeaderEntities(const sds_name set);
    // How every edit operation ends: nothing stays selected or highlighted, and the sets the
    // operation made (null names skipped) are freed.
    void EndRodOperation(std::initializer_list<long*> sets = {});
    // ==== end of editing bars ===============================================================

    // ==== Views: cross-sections, their editing and projections (module/views) =======
    // WPP: a row of bars seen end-on along a picked line, one disc (circle, solid hatch and
    // their anonymous group) per bar, each piece carrying the section's record.
    void InsertCrossSection();
    // EPP: the option loop; describing a section on a leader and giving it the panel's
    // diameter and steel.
    void EditCrossSection();
    // A CIRCLE carrying a section record; `groupSet` (a new set, which the caller frees)
    // gets the members of the anonymous group that holds it, or the circle alone.
    bool IsCrossSection(const sds_name entity, sds_name groupSet);
    // The first section circle of the pick-first selection.
    bool TakePreselectedSection(sds_name entity);
    void DescribeCrossSection();
    void ChangeCrossSection();
    // WRP: the direction loop, and one projection line of a picked bar each.
    void InsertProjection();
    void ProjectHorizontal();
    void ProjectVertical();
    // After a projection line has been dragged along `axis` ("x" or "y"): the shift by a typed
    // distance, and the repeats at the panel's spacing, which join `outputSet`.
    bool AskYesThenSide(int questionId, int sideId, sds_point side);
    void OfferShift(const std::string& axis, const sds_name line);
    void OfferRepeat(const std::string& axis, const sds_name line, sds_name outputSet);

    // What a description on a leader shows: the bar number, the count of bars, the steel
    // kind, the diameter, the spacing ("co", left out at 0) and the length ("L=", left out
    // at 0).
    struct LeaderValues {
        int number = 0;
        int count = 1;
        bool smooth = false;
        double diameterMm = 0.0;
        double spacing = 0.0;
        double length = 0.0;
    };
    // Draws a leader from `start` through `second` toward `direction` with its number circle
    // and texts, every piece recorded with `owner` as its owner, all in one anonymous group.
    // 1 drawn; 0 when the drawing refused a piece (whatever was made of it is gone again).
    int DrawLeaderPieces(const std::string& owner, const sds_point start, const sds_point second,
                         const sds_point direction, int numberOnly, const LeaderValues& values);
    // ==== end of views ======================================================================
    // ==== The steel schedule (module/schedule/) ==============================================
    // One row per bar mark, in ascending mark, after closing a gap in the numbering, showing
    // what was typed for the mark (count, remark) where anything was. Bars whose number
    // cannot be a mark (below 1 or above the number of bars) are left out; how many.
    int CollectScheduleRows(std::vector<CWykazObj>& rows);
    // Keeps the typed count ("" for the drawn one) and remark on every bar numbered `number`
    // whose record holds others. The number of bars changed.
    int KeepTypedEntries(int number, const std::string& count, const std::string& remark);
    // Rebuilds every bar numbered `number` for the diameter and steel: shape, record, layer and
    // texts, in one undo step. The number of bars rebuilt.
    int ApplyRowToDrawing(int number, double diameterMm, const std::string& steelName);
    // Deletes the bars numbered `number` as EDPR's Usuń deletes a bar, and closes the gap in
    // the numbering, in one undo step. The old numbers that the closing changed, each with its
    // new one.
    std::map<int, int> DeleteBarsWithNumber(int number);
    // The developed length that the first bar numbered `number` would have with hooks and
    // bends made for `diameterMm` and its own steel; 0 when there is no such bar.
    double LengthForDiameter(int number, double diameterMm);
    // The schedule table at `insertionPoint` (moved right by the shape column when `full`),
    // one undo step.
    void DrawSchedule(const std::vector<CWykazObj>& rows, sds_point insertionPoint, bool full);
    // The shape of `bar` scaled into the table cell whose lower left corner is `cellCorner`.
    void DrawBarShape(const sds_name bar, const sds_point cellCorner, double cellWidth,
                      double cellHeight);
    // ==== end of the steel schedule ==========================================================

    // Takes erased members out of every group; a group left empty goes too.
    void DropDeadGroupMembers();
    // The same for the groups that list the entities just erased, found through the host.
    void DropDeadGroupMembers(const std::vector<std::array<long, 2>>& erased);

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

    // ==== Dimension texts and descriptions of a bar (options of the edit command) ===========
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
    // Replaces `bar` by `barVertices` with `record`, then every other bar of the same number
    // by the same shape moved from `origin` to its own first vertex, keeping its own record
    // passed through `adjust`. False when `bar` itself could not be replaced.
    bool ReshapeBarAndSameNumber(const sds_name bar, const std::vector<CSDSPointExt>& barVertices,
                                 const sds_point origin, const CRodXDataParameters& record,
                                 const std::function<void(CRodXDataParameters&)>& adjust);
    bool ReshapeReplace(const sds_name oldBar, const std::vector<CSDSPointExt>& barVertices,
                        const double offset[2], const CRodXDataParameters& record, sds_name made);
    // ==========================================================================================

    // ==== Copying, moving, ejecting and deleting bars (options of the edit command) ==========
    // rod_copy.cpp, rod_move.cpp, rod_delete.cpp. The bar comes picked, except for CopyRod,
    // which asks for one bar per copy through `pick`.
  public:
    // Carries the entities of `set` to where the user drags them, each by the host command
    // `command` ("_COPY" or "_MOVE"). `made` receives a new set (the caller frees it) of the
    // copies, or of the moved entities; `displacement` the move actually made. `axis` "x" or
    // "y" first aligns the set's lines with the base point, and `made` then holds the moved
    // lines also where they stayed (projections); "" for bars. False when the user gave up;
    // true with `made` empty when the target was the base point (no axis).
    // `sources`, when given, receives for each entity of `made`, in its order, the entity of
    // `set` it was made from.
    bool DragRodGroup(const sds_name set, sds_name made, sds_point displacement,
                      const std::string& command, const std::string& axis,
                      std::vector<std::array<long, 2>>* sources = nullptr);
    // The drag callback: a pure translation under the cursor, locked to an axis in ORTHOMODE.
    static int OrthoDragTransform(sds_point point, sds_matrix matrix);
    // Moves the bar with its descriptions, dimension texts and leaders, in one undo step.
    // True when it moved.
    bool MoveRod(const sds_name bar);
    // The copy sub-prompt ("Wstaw_kopię" / "Nowy_nr_pręta"), until Esc; `pick` takes the bar
    // of each copy (string 67).
    void CopyRod(const RodPicker& pick);
    // One copy of the bar with its texts, in one undo step: keeping its number and its leaders
    // (`keepNumber`), or with the next number and without leaders. True when a copy was made.
    bool CopyRodOnce(bool keepNumber, const sds_name bar);
    // A drawn-out copy keeping the number, completed with dimension texts and a description
    // where the bar has none, in one undo step. True when a copy was made.
    bool EjectRod(const sds_name bar);
    // Makes the copied bar of `copies` a bar of its own: `record` written on it, and every
    // other copy's link naming it, its point moved by `displacement`; with `renumberTexts`
    // the copied number texts show the record's number. `copiedBar` receives the bar.
    void RetargetRodGroup(const sds_name copies, sds_name copiedBar, const sds_point displacement,
                          const CRodXDataParameters& record, bool renumberTexts);
    // Anonymous groups of the leader pieces among `copies`, one for each leader the pieces
    // were copied from (`sources`: the entity each copy was made from, in the copies' order),
    // as each leader of the bar has its own. The number of groups made.
    int GroupLeaderEntities(const std::vector<std::array<long, 2>>& copies,
                            const std::vector<std::array<long, 2>>& sources);
    // An anonymous group of the whole set: lines, polylines, circles, texts. 1 made, else 0.
    int GroupCopies(const sds_name set);
    // Asks (string 60 or 61) and deletes the bar with everything that names it as owner,
    // renumbering the bars above a freed number, in one undo step. True when deleted.
    bool DeleteRod(const sds_name bar);
    // The deletion once it is agreed: each bar with everything that names it as owner, the
    // groups that listed them keeping only live members; the selection ended. True when a bar
    // went. Renumbering is the caller's.
    bool EraseRods(const std::vector<std::array<long, 2>>& bars);
    // Handles of the other bars carrying the bar's number; their count.
    int FindRodsWithNumber(const sds_name bar, std::vector<std::string>& handles);

  private:
    // Rewrites the record of an entity that has one, leaving no stale record behind.
    int ReplaceLinkRecord(const sds_name entity, const std::string& type, const std::string& owner,
                          const sds_point point, bool withPoint);
    int ReplaceRodRecord(const sds_name bar, const CRodXDataParameters& record);
    void DropRecord(const sds_name dictionary, const std::string& key);
    // ==========================================================================================

    // ==== Editing bars ======================================================================
    // What the selection highlighted, to be taken back when the operation ends.
    std::vector<std::pair<long, long>> highlighted_;
    // ==== end of editing bars ===============================================================
};

// Handle text of an entity, "" when it cannot be read.
std::string EntityHandle(const sds_name entity);
// The entity of a handle and every entity whose records hold that handle, in drawing order:
// the candidates for "belongs to this entity", which callers still check by their own rules.
// The host answers from its index instead of the whole drawing being read.
std::vector<std::array<long, 2>> RecordReferences(const std::string& handle);
