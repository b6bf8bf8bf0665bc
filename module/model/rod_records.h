// The records the module attaches to its entities (bar, cross-section, description and
// dimension links), and the tests that recognise bars, projections, discs and bar texts.
#pragma once

#include <string>
#include <vector>

#include "host/sds.h"

// Record of a bar or of a projection line. Whole numbers are kept in 16-bit groups in the
// drawing: a value outside -32768..32767 comes back as its low 16 bits, sign-extended.
class CRodXDataParameters {
  public:
    CRodXDataParameters() = default;
    CRodXDataParameters(const CRodXDataParameters&) = default;
    CRodXDataParameters& operator=(const CRodXDataParameters&) = default;
    virtual ~CRodXDataParameters() = default;

    // What an entity without a record reads as: unlike a fresh object, `rounded` is 0.
    static CRodXDataParameters WithoutRecord();

    std::string type;     // "Pręt", "RzutPoziomy", "RzutPionowy"
    int ordinal = -1;     // sequence number of the bar in the drawing
    double diameter = 0;  // centimetres
    int hooks = -1;       // 0 none, 1 first end, 2 last end, 3 both
    int number = -1;      // bar mark
    int steel = -1;       // grade index
    int rounded = -1;     // 1 when the corners were rounded
    int flag = 1;         // carried along unchanged by every rewrite

    // What the designer typed in the schedule for the bar's mark, kept on every bar of the
    // mark so that it follows the mark wherever the record goes: the count ("" while the
    // drawn count stands) and the remark. Stored after the fields above only when either is
    // set, in text groups of their own (300, 301), which no link reader takes for an owner.
    std::string typedCount;
    std::string typedRemark;
    bool HasTypedEntries() const { return !typedCount.empty() || !typedRemark.empty(); }
    // For a bar made from this one with another number: what was typed stays with its mark.
    void DropTypedEntries() {
        typedCount.clear();
        typedRemark.clear();
    }
};

// Record of a cross-section disc: the row of bars that the section shows.
class CRodProfileXDataParameters {
  public:
    CRodProfileXDataParameters() = default;
    CRodProfileXDataParameters(const CRodProfileXDataParameters&) = default;
    CRodProfileXDataParameters& operator=(const CRodProfileXDataParameters&) = default;
    virtual ~CRodProfileXDataParameters() = default;

    void Reset() { *this = CRodProfileXDataParameters(); }

    std::string type;     // "Przekrój"
    double diameter = 0;  // centimetres
    int steel = -1;
    double spacing = 0;
    int count = -1;
};

// Link of a description entity (text, number circle, leader) to its bar.
struct CRodDescriptionLink {
    std::string type;
    std::string owner;  // handle of the bar
    double point[3] = {0.0, 0.0, 0.0};
};

// Link of a segment dimension text to its bar.
struct CRodDimensionLink {
    std::string type;
    std::string owner;
};

// The record key (string 2) and the tags are passed in: they come from the string table.
//
// An LWPOLYLINE whose bar record has the bar tag.
bool IsBar(const sds_name entity, const std::string& key, const std::string& barTag);
// A LINE whose bar record has one of the two projection tags.
bool IsProjectionLine(const sds_name entity, const std::string& key,
                      const std::string& horizontalTag, const std::string& verticalTag);
// Any entity whose cross-section record has the section tag.
bool IsCrossSectionDisc(const sds_name entity, const std::string& key,
                        const std::string& sectionTag);
// An entity whose link has one of `tags` and names `barHandle` as its owner.
bool IsTextOfBar(const sds_name entity, const std::string& key, const std::string& barHandle,
                 const std::vector<std::string>& tags);
