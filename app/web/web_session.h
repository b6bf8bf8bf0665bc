// The session's side of the web front end: a line source that publishes what the page shows
// and waits for the page's answer, and a dialog back end that keeps the open dialogs and the
// question for the page, printing the same transcript as the scripted back end.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/web/web_hub.h"
#include "host/console/input_sources.h"
#include "platform/backend.h"

namespace app::web {

// The dialogs and message boxes as the page is to show them.
class WebUi : public platform::UiBackend {
  public:
    struct Notice {
        int serial = 0;
        std::string caption;
        std::string text;
    };
    struct Question {
        std::string caption;
        std::string text;
        std::string choices;
    };

    void DialogOpened(const platform::Dialog& dialog) override;
    void DialogClosed(const platform::Dialog& dialog, int result) override;
    std::optional<std::string> NextDialogLine(const platform::Dialog& dialog) override;
    void ShowMessage(std::string_view caption, std::string_view text) override;
    std::optional<std::string> AskQuestion(std::string_view caption, std::string_view text,
                                           std::string_view choices) override;

    // The dialog that takes the lines now (the innermost open one), or null.
    const platform::Dialog* OpenDialog() const {
        return dialogs_.empty() ? nullptr : dialogs_.back();
    }
    const std::optional<Question>& PendingQuestion() const { return question_; }
    // The latest message boxes that needed no answer, oldest first.
    const std::vector<Notice>& Notices() const { return notices_; }

  private:
    std::vector<const platform::Dialog*> dialogs_;
    std::optional<Question> question_;
    std::vector<Notice> notices_;
    int serial_ = 0;
};

// The page's lines. Like a user at the terminal the page may fail a command and go on.
class WebInput : public host::LineSource {
  public:
    WebInput(WebHub& hub, const WebUi& ui) : host::LineSource(true), hub_(hub), ui_(ui) {}
    bool Interactive() const override { return !hub_.Stopped(); }

  protected:
    std::optional<std::string> Fetch(std::string_view prompt) override;

  private:
    std::string StateJson(std::string_view prompt, uint64_t picture) const;
    WebHub& hub_;
    const WebUi& ui_;
    uint64_t plot_ = 0;  // the PLOT handed to the hub last
};

}  // namespace app::web
