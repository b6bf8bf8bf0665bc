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
    std::string type;         // the entity's type
    std::string owner;        // handle the record names
    bool numberText = false;  // the number text beside its bar
    std::string text;         // what such a text shows
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
    UnownedRecord,       // mended by erasing the records
};

struct Finding {
    FindingKind kind;
    std::string text;
    bool mendable = false;
};

// Whether two bars are bent alike: the same legs, arcs and turns, however placed or turned,
// and whichever end the drawing starts from.
bool SameShape(const std::vector<CSDSPointExt>& a, const std::vector<CSDSPointExt>& b);

// The findings in a fixed order: numbering, marks, orphaned pieces, groups, number texts,
// records nothing owns.
std::vector<Finding> Check(const DrawingSeen& drawing);

}  // namespace audit
