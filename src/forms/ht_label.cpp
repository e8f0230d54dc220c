#include "forms/ht_label.h"

#include <vector>

#include "settings/settings_convert.h"

namespace tavo {

namespace {

constexpr WinColor kPaletteRelative = 1u << 25;

bool ParseColor(std::string_view text, WinColor& value) {
    std::vector<int> parts;
    bool good = true;
    const std::size_t count = ForEachListItem(text, 4, [&](std::size_t, std::string_view item) {
        const int32_t n = StrToIntRange(item, -1, -1, 256);
        if (n < 0 || n > 255) good = false;
        parts.push_back(n);
    });
    if (!good || count != 3 || parts.size() != 3) return false;
    value = WinColor(parts[0]) | WinColor(parts[1]) << 8 | WinColor(parts[2]) << 16 | kPaletteRelative;
    return true;
}

}  // namespace

WinColor LinkColorValue(std::string_view text, std::string_view fallback) {
    WinColor value = 0;
    // A setting that is no colour leaves the link readable.
    if (ParseColor(text, value) || ParseColor(fallback, value)) return value;
    return kPaletteRelative;
}

LinkKind LinkKindOf(std::string_view caption) {
    return caption.substr(0, 7) == "http://" ? LinkKind::Web : LinkKind::Mail;
}

std::string LinkTarget(std::string_view caption) {
    if (LinkKindOf(caption) == LinkKind::Web || caption.substr(0, 7) == "mailto:") return std::string(caption);
    return "mailto:" + std::string(caption);
}

std::string CommandLineFor(std::string command, std::string_view caption) {
    const std::size_t quoted = command.find("\"%1\"");
    if (quoted != std::string::npos) {
        const std::size_t from = quoted > 0 ? quoted - 1 : 0;
        command.erase(from, quoted - from + 4);
    } else if (const std::size_t bare = command.find("%1"); bare != std::string::npos) {
        const std::size_t from = bare > 0 ? bare - 1 : 0;
        command.erase(from, bare - from + 2);
    }
    return command + " " + std::string(caption);
}

void OpenCaption(const std::string& caption, LinkShell& shell) {
    std::optional<std::string> command;
    if (LinkKindOf(caption) == LinkKind::Web) {
        if (shell.ShellOpen(caption)) return;
        if (const auto htm = shell.ClassesDefault(".htm"); htm && !htm->empty())
            command = shell.ClassesDefault(*htm + "\\shell\\open\\command");
    } else {
        command = shell.ClassesDefault("mailto\\shell\\open\\command");
    }
    // An empty command would start the caption itself as a program.
    if (command && !command->empty()) shell.Run(CommandLineFor(*command, caption));
}

void THTLabel::Paint() {
    const bool underlineOnHover = colors_.HoverUnderline == "yes";
    if (!MouseOver) {
        FontColor = LinkColorValue(colors_.Link, LinkColors().Link);
        Underlined = !underlineOnHover;
    } else {
        FontColor = LinkColorValue(colors_.Hover, LinkColors().Hover);
        if (underlineOnHover) Underlined = true;
    }
}

std::string THTLabel::Click() {
    FontColor = LinkColorValue(colors_.Visited, LinkColors().Visited);
    return LinkTarget(Caption);
}

}  // namespace tavo
