// EDPR: the option prompt of the edit command and the table of its options. An option runs
// its operation and comes back to the prompt; Enter repeats the last option.
#include <cstring>
#include <string>

#include "module/resources/strings.h"
#include "module/rods/obsluga_preta.h"

namespace {

constexpr int kStrEditPrompt = 34;
constexpr int kStrEditKeywords = 35;
constexpr int kStrOptionUnavailable = 910;
constexpr int kStrPickForDimensions = 62;
constexpr int kStrPickToMove = 63;
constexpr int kStrPickToDelete = 59;
constexpr int kStrPickToEject = 46;
constexpr int kStrPickToDivide = 57;
constexpr int kStrPickForDiameter = 68;

// A host that keeps answering with codes the prompt does not know must not hold the command
// for ever.
constexpr int kMaxUnknownAnswers = 100;

// Says that the option's operation is not part of this build.
void TellUnavailable(const std::string& option) {
    std::string text = LoadUiString(kStrOptionUnavailable);
    if (const std::size_t at = text.find("%s"); at != std::string::npos) {
        text.replace(at, 2, option);
    }
    sds_printf("%s", text.c_str());
}

}  // namespace

const std::vector<CObslugaPreta::EditOption>& CObslugaPreta::EditOptions() {
    static const std::vector<EditOption> options = {
        {36, &CObslugaPreta::DivideOption},          // "Dziel": divide a bar
        {37, &CObslugaPreta::LengthOption},          // "Edycja_długości": shorten or lengthen
        {38, &CObslugaPreta::CopyOption},            // "Kopiuj": copy
        {39, &CObslugaPreta::MoveOption},            // "Przesuń": move
        {40, &CObslugaPreta::DeleteOption},          // "Usuń": delete and renumber
        {41, &CObslugaPreta::DiameterSteelOption},   // "Zmień_średnicę/stal": diameter and steel
        {42, &CObslugaPreta::DimensionTextsOption},  // "Teksty_wymiarów(wstaw/usuń)"
        {5, &CObslugaPreta::DescriptionOption},      // "Opis": descriptions
        {161, &CObslugaPreta::ReplacePolylineOption},  // "zAmień_polilinię": a polyline made a bar
        {14, &CObslugaPreta::EjectOption},             // "Wyrzuć": eject a drawn-out copy
    };
    return options;
}

void CObslugaPreta::EditRod() {
    const std::string keywords = LoadUiString(kStrEditKeywords);
    for (;;) {
        const std::string prompt = LoadUiString(kStrEditPrompt) + " <" + LastEditOption + ">:";
        std::string answer;
        int rc = RTERROR;
        for (int tries = 0; tries < kMaxUnknownAnswers; ++tries) {
            // The keywords hold for one input call only, so each asking names them again.
            sds_initget(0, keywords.c_str());
            char typed[512] = {0};
            rc = sds_getkword(prompt.c_str(), typed);
            if (rc == RTNORM) {
                answer = typed;
                break;
            }
            if (rc == RTNONE) {
                answer = LastEditOption;
                break;
            }
            if (rc == RTCAN || rc == RTERROR) {
                return;
            }
        }
        if (rc != RTNORM && rc != RTNONE) {
            return;
        }
        const std::vector<EditOption>& options = EditOptions();
        const EditOption* chosen = &options.back();  // an unknown answer ejects
        for (const EditOption& option : options) {
            if (answer == LoadUiString(option.keyword)) {
                chosen = &option;
                LastEditOption = answer;
                break;
            }
        }
        if (chosen->operation != nullptr) {
            (this->*chosen->operation)();
        } else {
            TellUnavailable(LoadUiString(chosen->keyword));
        }
    }
}

void CObslugaPreta::DimensionTextsOption() {
    sds_name bar = {0, 0};
    if (!PickRod(LoadUiString(kStrPickForDimensions), bar)) {
        EndRodOperation();
        return;
    }
    HighlightRodGroup(bar);
    ToggleRodDimensions(bar);
    EndRodOperation();
}

void CObslugaPreta::DescriptionOption() {
    DescribeRod([this](const std::string& prompt, bool projectionsToo, sds_name picked) {
        return PickRod(prompt, picked, projectionsToo);
    });
}

void CObslugaPreta::RunOnPickedRod(int prompt, bool (CObslugaPreta::*operation)(const sds_name)) {
    sds_name bar = {0, 0};
    if (!PickRod(LoadUiString(prompt), bar)) {
        EndRodOperation();
        return;
    }
    (this->*operation)(bar);
}

void CObslugaPreta::MoveOption() {
    RunOnPickedRod(kStrPickToMove, &CObslugaPreta::MoveRod);
}

void CObslugaPreta::DeleteOption() {
    RunOnPickedRod(kStrPickToDelete, &CObslugaPreta::DeleteRod);
}

void CObslugaPreta::EjectOption() {
    RunOnPickedRod(kStrPickToEject, &CObslugaPreta::EjectRod);
}

void CObslugaPreta::CopyOption() {
    CopyRod([this](const std::string& prompt, bool, sds_name picked) {
        return PickRod(prompt, picked);
    });
}

void CObslugaPreta::DivideOption() {
    sds_name bar = {0, 0};
    if (PickRod(LoadUiString(kStrPickToDivide), bar)) {
        DivideRod(bar);
    }
    EndRodOperation();
}

void CObslugaPreta::DiameterSteelOption() {
    sds_name bar = {0, 0};
    if (PickRod(LoadUiString(kStrPickForDiameter), bar)) {
        ChangeDiameterSteel(bar);
    }
    EndRodOperation();
}

void CObslugaPreta::LengthOption() {
    EditRodLength();
    EndRodOperation();
}

void CObslugaPreta::ReplacePolylineOption() {
    ReplacePolyline();
    EndRodOperation();
}

bool CObslugaPreta::AskSubOption(const std::string& title, const std::string& keywords,
                                 const std::string& fallback, bool errorEnds, std::string& chosen) {
    const std::string prompt = title + " <" + fallback + ">:";
    for (int tries = 0; tries < kMaxUnknownAnswers; ++tries) {
        // The keywords hold for one input call only, so each asking names them again.
        sds_initget(0, keywords.c_str());
        char answer[512] = {0};
        const int result = sds_getkword(prompt.c_str(), answer);
        if (result == RTCAN || (errorEnds && result == RTERROR)) {
            return false;
        }
        if (result == RTNONE) {
            chosen = fallback;
            return true;
        }
        if (result == RTNORM) {
            chosen = answer;
            return true;
        }
    }
    return false;
}
