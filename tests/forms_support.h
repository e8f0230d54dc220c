#pragma once

#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/error.h"
#include "forms/config_form.h"

namespace tavo::test {

// A toolkit that records what a form asks of it and answers its file
// dialogs from `answers`, in turn (none left: cancelled).
class FakeToolkit final : public ConfigToolkit {
public:
    std::deque<std::optional<std::string>> answers;
    std::vector<SaveDialogRequest> asked;
    std::vector<std::pair<FormText, MessageKind>> messages;
    std::vector<std::pair<std::string, int32_t>> helpShown;
    bool helpFails = false;
    int repaints = 0;

    std::optional<std::string> AskSaveFileName(const SaveDialogRequest& r) override { return Answer(r); }
    std::optional<std::string> AskOpenFileName(const SaveDialogRequest& r) override { return Answer(r); }
    void ShowMessage(const FormText& text, MessageKind kind) override { messages.emplace_back(text, kind); }
    void ShowHelp(const std::string& helpFile, int32_t context) override {
        if (helpFails) throw Error("no help page for topic " + std::to_string(context));
        helpShown.emplace_back(helpFile, context);
    }
    void Repaint() override { ++repaints; }

private:
    std::optional<std::string> Answer(const SaveDialogRequest& r) {
        asked.push_back(r);
        if (answers.empty()) return std::nullopt;
        auto a = answers.front();
        answers.pop_front();
        return a;
    }
};

}  // namespace tavo::test
