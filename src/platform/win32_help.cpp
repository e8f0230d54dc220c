// The help on Windows: our HTML pages stand in for the topics of
// "tavo.hlp" (the old help viewer is gone from current Windows). Topic
// `context` is the page <help folder>\<language>\<context>.html, the help
// folder being $TAVO_HELP_DIR when set, else "help" beside the DLL that
// holds this code; Japanese ("ja") on a Japanese system, else English
// ("en"), the other one when that page is missing. The shell opens the page
// with the user's browser.
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "base/error.h"
#include "platform/help.h"
#include "files/win32_text.h"

namespace tavo::platform {

namespace {

std::function<bool(const std::string&)>& Opener() {
    static std::function<bool(const std::string&)> opener;
    return opener;
}

// The folder of the module this code was loaded from, with its separator.
std::string OwnFolder() {
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCSTR>(&HelpTopicPage), &module))
        return std::string();
    std::vector<char> name(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameA(module, name.data(), static_cast<DWORD>(name.size()));
        if (n == 0) return std::string();
        if (n < name.size()) {
            const std::string path(name.data(), n);
            const std::size_t separator = LastPathSeparator(path);
            return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
        }
        name.resize(name.size() * 2);
    }
}

std::string HelpFolder() {
    const char* given = std::getenv("TAVO_HELP_DIR");
    if (given && *given) {
        std::string folder = given;
        if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
        return folder;
    }
    return OwnFolder() + "help\\";
}

bool IsFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool JapaneseSystem() { return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE; }

bool OpenWithShell(const std::string& page) {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(nullptr, "open", page.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

}  // namespace

std::string HelpTopicPage(const std::string& helpFile, int32_t context) {
    const std::string folder = HelpFolder();
    const std::string page = std::to_string(context) + ".html";
    const bool japanese = JapaneseSystem();
    for (const char* language : {japanese ? "ja" : "en", japanese ? "en" : "ja"}) {
        std::string candidate = folder;
        candidate.append(language).append("\\").append(page);
        if (IsFile(candidate)) return candidate;
    }
    throw Error("no help page for topic " + std::to_string(context) + " of " + helpFile + " in " + folder);
}

void ShowHelpTopic(const std::string& helpFile, int32_t context) {
    const std::string page = HelpTopicPage(helpFile, context);
    const bool opened = Opener() ? Opener()(page) : OpenWithShell(page);
    if (!opened)
        throw Error(page, "no program to open it: the shell has none for .html files",
                    page + ": no program to open it: the shell has none for .html files");
}

void SetHelpOpener(std::function<bool(const std::string& page)> opener) { Opener() = std::move(opener); }

}  // namespace tavo::platform
