// Prompts of the view commands.
#include "module/views/view_common.h"

#include "module/resources/strings.h"

namespace views {

int AskKeyword(const std::string& message, const std::string& keywords,
               const std::string& remembered, std::string& answer) {
    const std::string prompt = message + " <" + remembered + ">:";
    for (int i = 0; i < kMaxRepeatedAnswers; ++i) {
        sds_initget(0, keywords.c_str());
        char typed[512] = {0};
        const int result = sds_getkword(prompt.c_str(), typed);
        if (result == RTNORM) {
            answer = typed;
            return RTNORM;
        }
        if (result == RTNONE) {
            answer = remembered;
            return RTNORM;
        }
        if (result == RTCAN || result == RTERROR) {
            return result;
        }
    }
    return RTERROR;
}

int AskPoint(const sds_point base, const std::string& prompt, sds_point point) {
    for (int i = 0; i < kMaxRepeatedAnswers; ++i) {
        const int result = sds_getpoint(base, prompt.c_str(), point);
        if (result == RTNORM || result == RTCAN || result == RTERROR || result == RTNONE) {
            return result;
        }
    }
    return RTERROR;
}

void Tell(int id) {
    sds_printf("%s", LoadUiString(id).c_str());
}

}  // namespace views
