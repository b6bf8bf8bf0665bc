// The checks of AUDIT on what the drawing holds of the module's data, without the host: the
// bars, the entities that name an owner in their records, and the groups, as read by the scan.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "module/entities/point_ext.h"

namespace audit {

struct BarSeen {
    std::string handle;
    int number = 0;
    double diameter = 0.0;  // centimetres, as the record keeps it
    int steel = 0;
    std::vector<CSDSPointExt> vertices;
};

// An entity whose record names an owner: a description, dimension or leader piece.
struct LinkSeen {
    std::string handle;
    std::string type;               // the entity's type
    std::string owner;              // handle the record names
    bool numberText = false;        // the number text beside its bar
    bool leaderNumberText = false;  // the number text of a leader
    std::string text;               // what such a text shows
};

// A projection line (with its bar's number) or a cross-section disc (without one).
struct ViewSeen {
    std::string handle;
    bool section = false;
    int number = 0;
    double diameter = 0.0;  // centimetres
    int steel = 0;
};

struct GroupSeen {
    std::string name;
    int erasedMembers = 0;
};

// A record of the module (or an extension dictionary holding one) that nothing in the drawing
// owns: a stored schedule row taken out of its dictionary, say. A file keeps it with owner 0,
// which outside readers delete.
struct UnownedSeen {
    std::string handle;
    std::string type;  // XRECORD or DICTIONARY
};

struct DrawingSeen {
    std::vector<BarSeen> bars;
    // Owners besides bars that pieces may name: projection lines and cross-section discs.
    std::set<std::string> otherOwners;
    std::vector<ViewSeen> views;
    std::vector<LinkSeen> links;
    std::vector<GroupSeen> groups;
    std::vector<UnownedSeen> unowned;
};

enum class FindingKind {
    NumberingGap,        // mended by renumbering the bars above the gap
    NumberBelowOne,      // a bar no schedule row can carry
    MixedMark,           // bars of one number differ in diameter, steel or shape
    OrphanPiece,         // mended by erasing the piece
    ErasedGroupMember,   // mended by taking the member out of the group
    NumberTextMismatch,  // a number text shows another number than its bar's
    // Views the designer must look at, listed and never mended: which bar is meant is a guess.
    ProjectionWithoutBar,     // a projection's number is no bar's
    ProjectionDiffers,        // a projection's diameter or steel is not its bars'
    ViewLeaderMismatch,       // a leader on a projection shows another number than the projection's
    SectionLeaderWithoutBar,  // a section's leader shows a number no bar carries
    SectionLeaderDiffers,     // the bars a section's leader names are not the section's
    UnownedRecord,       // mended by erasing the records
};

struct Finding {
    FindingKind kind;
    std::string text;
    bool mendable = false;
};

// Whether two bars are bent alike: the same legs, arcs and turns in the same order, however
// placed, turned or mirrored, and whichever end the drawing starts from.
bool SameShape(const std::vector<CSDSPointExt>& a, const std::vector<CSDSPointExt>& b);

// The findings in a fixed order: numbering, marks, orphaned pieces, groups, number texts,
// projections, the leaders of views, records nothing owns.
std::vector<Finding> Check(const DrawingSeen& drawing);

}  // namespace audit
