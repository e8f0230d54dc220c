#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "viewer/canvas.h"

namespace tavo {

// The browser's link settings that every hyperlink label shares; where the
// platform keeps none, these defaults hold.
struct LinkColors {
    std::string Link = "0,0,255";
    std::string Hover = "255,0,0";
    std::string Visited = "255,0,255";
    std::string HoverUnderline = "no";  // "yes": underlined only under the mouse
};

// "r,g,b" (each 0..255) as a colour value with the palette-relative bit
// (bit 25) set; a text that is not three such numbers gives `fallback`'s.
WinColor LinkColorValue(std::string_view text, std::string_view fallback);
// The colour value without its palette-relative bit.
inline WinColor PlainColor(WinColor value) { return value & 0xFFFFFF; }

enum class LinkKind : uint8_t { Web, Mail };
// A web address when the caption begins with "http://" exactly (letter case
// counts), else a mail address.
LinkKind LinkKindOf(std::string_view caption);
// What the desktop's URL handler opens: the web address, or the mail
// address as "mailto:".
std::string LinkTarget(std::string_view caption);

// A registered command line ("...exe" "%1") made into one that opens
// `caption`: a quoted "%1" is cut with the blank before it, else a bare %1
// with the blank before it; then a blank and the caption are appended.
std::string CommandLineFor(std::string command, std::string_view caption);

// What opening a caption needs of the platform: the shell's "open", the
// default values of keys under the classes root, starting a command line.
class LinkShell {
public:
    virtual ~LinkShell() = default;
    // False when the shell could not open the address.
    virtual bool ShellOpen(const std::string& address) = 0;
    // The key's default value; nothing when the key is missing.
    virtual std::optional<std::string> ClassesDefault(const std::string& key) = 0;
    virtual void Run(const std::string& commandLine) = 0;
};

// Opens a caption as a web address (the shell, else the command registered
// for ".htm") or as a mail address (the command registered for "mailto").
// A missing or empty command ends the attempt silently.
void OpenCaption(const std::string& caption, LinkShell& shell);

// A hyperlink label's behaviour: its colour and underline, hover and click.
class THTLabel {
public:
    explicit THTLabel(LinkColors colors = {}) : colors_(std::move(colors)) {}

    std::string Caption;
    WinColor FontColor = 0;
    bool Underlined = false;
    bool MouseOver = false;

    // Chooses colour and underline for a paint.
    void Paint();
    void MouseEnter() { MouseOver = true; }
    void MouseLeave() { MouseOver = false; }
    // Turns to the visited colour; returns what to open.
    std::string Click();

private:
    LinkColors colors_;
};

}  // namespace tavo
