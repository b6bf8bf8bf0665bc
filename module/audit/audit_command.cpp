// AUDIT: reads the module's data from the drawing (bars, owned pieces, groups, records), prints
// the numbered findings and, with "Napraw", closes the numbering's gaps, erases pieces whose
// owner is gone and records nothing owns, and takes erased members out of groups, in one undo
// step.
#include <cstdio>

#include "module/audit/audit_checks.h"
#include "module/audit/audit_scan.h"
#include "module/audit/audit_workers.h"
#include "module/entities/resbuf_util.h"
#include "module/resources/strings.h"
#include "module/rods/obsluga_preta.h"
#include "module/rods/rod_numbering.h"

namespace {

constexpr int kStrClean = 975;
constexpr int kStrCount = 976;
constexpr int kStrMended = 986;
constexpr int kStrWrongWord = 987;
constexpr int kStrMendWord = 988;

void PrintFindings(const std::vector<audit::Finding>& findings) {
    if (findings.empty()) {
        sds_printf("%s", LoadUiString(kStrClean).c_str());
        return;
    }
    std::string count = LoadUiString(kStrCount);
    if (const size_t at = count.find("%d"); at != std::string::npos) {
        count.replace(at, 2, std::to_string(findings.size()));
    }
    sds_printf("%s", count.c_str());
    for (size_t i = 0; i < findings.size(); ++i) {
        sds_printf("%zu. %s\n", i + 1, findings[i].text.c_str());
    }
}

// Mends what the findings allow, as one undo step: pieces of owners that are gone and records
// nothing owns erased, groups rid of erased members, and the numbering's gaps closed.
void Mend(CObslugaPreta& rod, const audit::DrawingSeen& seen,
          const std::vector<audit::Finding>& findings) {
    UndoGroup undo;
    std::set<std::string> owners;
    for (const audit::BarSeen& bar : seen.bars) {
        owners.insert(bar.handle);
    }
    owners.insert(seen.otherOwners.begin(), seen.otherOwners.end());
    for (const audit::LinkSeen& link : seen.links) {
        sds_name piece = {0, 0};
        if (owners.count(link.owner) == 0 && sds_handent(link.handle.c_str(), piece) == RTNORM) {
            sds_entdel(piece);
        }
    }
    for (const audit::UnownedSeen& record : seen.unowned) {
        sds_name name = {0, 0};
        if (sds_handent(record.handle.c_str(), name) == RTNORM) {
            sds_entdel(name);
        }
    }
    for (const audit::Finding& finding : findings) {
        if (finding.kind == audit::FindingKind::ErasedGroupMember ||
            finding.kind == audit::FindingKind::OrphanPiece) {
            rod.DropDeadGroupMembers();
            break;
        }
    }
    // Each renumbering closes the lowest gap; as many rounds as there are bars at most.
    for (size_t round = 0; round <= seen.bars.size(); ++round) {
        std::vector<double> marks;
        for (const rods::BarEntry& bar : rod.ListBars()) {
            if (bar.record.number >= 1) {
                marks.push_back(bar.record.number);
            }
        }
        const int gap = rods::FirstNumberGap(marks);
        if (gap <= 0) {
            break;
        }
        rod.RenumberFrom(gap);
    }
    undo.Close();
}

}  // namespace

void AuditWorker(CToolBarDlg& panel) {
    bool mend = false;
    resbuf* args = sds_getargs();
    const resbuf* word = args != nullptr ? args->rbnext : nullptr;
    if (word != nullptr) {
        const std::string typed = rblist::Text(word);
        std::string lower;
        for (char c : typed) {
            lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        }
        std::string keyword;
        for (char c : LoadUiString(kStrMendWord)) {
            keyword += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        }
        // The keyword in full or by its capital letter, as every keyword is taken.
        mend = word->rbnext == nullptr && (lower == keyword || lower == keyword.substr(0, 1));
        if (!mend) {
            sds_relrb(args);
            sds_printf("%s", LoadUiString(kStrWrongWord).c_str());
            ReportCommandFailed();
            return;
        }
    }
    sds_relrb(args);
    CObslugaPreta rod(&panel);
    const audit::DrawingSeen seen = audit::Scan(rod);
    const std::vector<audit::Finding> findings = audit::Check(seen);
    PrintFindings(findings);
    if (!mend || findings.empty()) {
        return;
    }
    Mend(rod, seen, findings);
    const std::vector<audit::Finding> left = audit::Check(audit::Scan(rod));
    std::string text = LoadUiString(kStrMended);
    const size_t mended = findings.size() > left.size() ? findings.size() - left.size() : 0;
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, text.c_str(), static_cast<int>(mended),
                  static_cast<int>(left.size()));
    sds_printf("%s", buffer);
}
