#pragma once

#include <string>

namespace tavo::platform {

// Where JWT text goes for another program to paste. Text is Shift-JIS
// bytes with CR LF line ends.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void setText(const std::string& cp932) = 0;
};

// Keeps the text in the process; for tests and for machines without a
// display.
class MemoryClipboard final : public Clipboard {
public:
    void setText(const std::string& cp932) override { text_ = cp932; }
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

// The desktop's clipboard when a display exists (or QT_QPA_PLATFORM names a
// platform), else an in-memory one; chosen once per process.
Clipboard& SystemClipboard();

}  // namespace tavo::platform
