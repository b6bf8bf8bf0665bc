// What the view commands share: their string-table ids, and prompts that ask again until
// an answer comes or the user gives up.
#pragma once

#include <string>

#include "host/sds.h"

namespace views {

enum StringId : int {
    kIdHorizontalTag = 47,
    kIdVerticalTag = 48,
    kIdNo = 94,
    kIdYes = 20,
    kIdProjectionPrompt = 88,
    kIdProjectionKeywords = 89,
    kIdVertical = 90,
    kIdHorizontal = 17,
    kIdPickBar = 91,
    kIdRepeatPrompt = 92,
    kIdYesNoKeywords = 93,
    kIdRepeatSide = 95,
    kIdSectionTag = 96,
    kIdSectionStart = 97,
    kIdSectionEnd = 98,
    kIdLongitudinalCover = 99,
    kIdTransverseCover = 100,
    kIdDistributionPrompt = 101,
    kIdDistributionKeywords = 102,
    kIdCountMode = 15,
    kIdSpacingMode = 103,
    kIdSectionEditPrompt = 104,
    kIdSectionEditKeywords = 105,
    kIdNumberSourcePrompt = 106,
    kIdNumberSourceKeywords = 107,
    kIdTypeNumber = 108,
    kIdNumberPrompt = 109,
    kIdTakeNumberPrompt = 110,
    kIdDescribeSectionPrompt = 111,
    kIdChangeSectionPrompt = 112,
    kIdDescribeOption = 13,
    kIdChangeOption = 41,
    kIdLeaderSecondPrompt = 72,
    kIdLeaderDirectionPrompt = 73,
    kIdBasePointPrompt = 23,
    kIdDragPrompt = 50,
    kIdNoSpacing = 930,
    kIdSectionRefused = 931,
    kIdTooManyDiscs = 932,
    kIdNotBar = 1000,
    kIdNotSection = 1002,
    kIdShiftPrompt = 940,
    kIdShiftSide = 941,
    kIdShiftDistance = 942,
};

// A host that keeps giving answers that fit nothing must not hold a prompt for ever.
inline constexpr int kMaxRepeatedAnswers = 1000;

// "%s <%s>:" with the remembered keyword; the keyword typed, or `remembered` for Enter.
// RTNORM with `answer`, or RTCAN / RTERROR when the user gave up.
int AskKeyword(const std::string& message, const std::string& keywords,
               const std::string& remembered, std::string& answer);
// A point; RTNORM, or the code with which the user gave up (RTCAN, RTERROR, RTNONE).
int AskPoint(const sds_point base, const std::string& prompt, sds_point point);
// Prints a string-table text.
void Tell(int id);

}  // namespace views
