// The drawing audit that scenario tests run at their end: what every drawing of this program
// must satisfy (bar records, gapless numbering, live links, groups, ownership, the host's
// own invariants), reported as numbered findings.
#pragma once

#include <string>
#include <vector>

namespace testkit {

// Numbered kinds of finding; the number leads the finding's text ("A03 ...").
enum class AuditCode {
    ExtensionDictionary = 1,  // not a live DICTIONARY owned by its entity
    RecordOwner = 2,          // the record is not owned by the dictionary that files it
    BarRecord = 3,            // a bar's record has the wrong layout or a field out of range
    NumberingGap = 4,         // bar numbers do not run 1..k
    DeadLink = 5,             // a description or dimension names no live bar or projection
    GroupMember = 6,          // a group lists a member that is erased or missing
    GroupOwner = 7,           // a group is not owned by ACAD_GROUP
};

// The findings on the current drawing, empty when it is clean. The host's invariants are
// checked first; a broken one aborts the program, as it does after every command.
std::vector<std::string> AuditDrawing();
// The findings one a line, "" when clean: what test assertions compare.
std::string AuditText();

}  // namespace testkit

// For GoogleTest bodies: the audit of the current drawing finds nothing.
#define EXPECT_CLEAN_AUDIT() EXPECT_EQ(::testkit::AuditText(), "")
