#pragma once

#include <cstdint>
#include <exception>
#include <optional>
#include <string>

namespace tavo {

// A text for the user: Shift-JIS around a file name that stays in the
// bytes the file system takes, so that a front end can show both right.
struct FormText {
    std::string Before;    // Shift-JIS
    std::string FileName;  // file-name bytes; may be empty
    std::string After;     // Shift-JIS

    static FormText Plain(std::string cp932) { return {std::move(cp932), {}, {}}; }
    bool operator==(const FormText& o) const {
        return Before == o.Before && FileName == o.FileName && After == o.After;
    }
};

// The message of a failure; for a tavo::Error naming a file, split around
// the file's name.
FormText FormTextOf(const std::exception& failure);

enum class MessageKind : uint8_t { Information, Error };

// A save-file dialog that asks before overwriting.
struct SaveDialogRequest {
    std::string DefaultExt;  // without the dot, added to a name typed without one
    std::string Filter;      // Shift-JIS "description|patterns", pairs joined by "|"
    std::string FileName;    // proposed, with its folder
    std::string InitialDir;  // where a name without a folder is shown
};

// What a form's behaviour asks of the toolkit that shows it. Texts are
// Shift-JIS, file names bytes as the file system takes them.
class FormToolkit {
public:
    virtual ~FormToolkit() = default;

    // Runs the dialog; the chosen file, or nothing when the user cancels.
    virtual std::optional<std::string> AskSaveFileName(const SaveDialogRequest& request) = 0;
    // A message box with an OK button; returns when it is closed.
    virtual void ShowMessage(const FormText& text, MessageKind kind) = 0;
    // Opens topic `context` of the help file; throws tavo::Error when it
    // cannot.
    virtual void ShowHelp(const std::string& helpFile, int32_t context) = 0;
    // The form's state changed (actions, positions): show it now.
    virtual void Repaint() = 0;
};

}  // namespace tavo
