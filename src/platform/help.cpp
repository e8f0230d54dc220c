#include "platform/help.h"

#include <dlfcn.h>

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#include "base/error.h"

namespace tavo::platform {

namespace {

namespace fs = std::filesystem;

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

std::function<bool(const std::string&)>& Opener() {
    static std::function<bool(const std::string&)> opener;
    return opener;
}

// The folder of the file this code was loaded from: the library, or a
// program linked with it.
fs::path OwnFolder() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&HelpTopicPage), &info) == 0 || !info.dli_fname) return fs::path();
    std::error_code ec;
    const fs::path file = fs::canonical(info.dli_fname, ec);
    return ec ? fs::path(info.dli_fname).parent_path() : file.parent_path();
}

// Where the build put the pages, then where the install put them: the
// library and the command are installed in different folders.
std::vector<fs::path> HelpFolders() {
    const std::string given = Env("TAVO_HELP_DIR");
    if (!given.empty()) return {fs::path(given)};
    const fs::path own = OwnFolder();
    return {own / "help", (own / TAVO_HELP_FROM_LIBRARY).lexically_normal(),
            (own / TAVO_HELP_FROM_PROGRAM).lexically_normal()};
}

bool JapaneseLocale() {
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        const std::string v = Env(name);
        if (!v.empty()) return v.rfind("ja", 0) == 0;
    }
    return false;
}

// The first browser found of xdg-open, $BROWSER (a colon-separated list)
// and the usual names; only programs that exist count, since one started in
// the background cannot tell us later that it found nothing to show with.
bool OpenInBrowser(const std::string& page) {
    const QString url = QUrl::fromLocalFile(QString::fromLocal8Bit(page.c_str())).toString(QUrl::FullyEncoded);
    QStringList programs = {QStringLiteral("xdg-open")};
    programs += QString::fromLocal8Bit(Env("BROWSER").c_str()).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    programs += {QStringLiteral("x-www-browser"), QStringLiteral("gnome-www-browser"), QStringLiteral("firefox"),
                 QStringLiteral("chromium")};
    for (const QString& program : programs) {
        const QString found = QStandardPaths::findExecutable(program);
        if (!found.isEmpty() && QProcess::startDetached(found, {url})) return true;
    }
    return false;
}

}  // namespace

std::string HelpTopicPage(const std::string& helpFile, int32_t context) {
    const std::vector<fs::path> folders = HelpFolders();
    const std::string page = std::to_string(context) + ".html";
    const char* first = JapaneseLocale() ? "ja" : "en";
    const char* second = JapaneseLocale() ? "en" : "ja";
    std::error_code ec;
    std::string searched;
    for (const fs::path& folder : folders) {
        for (const char* language : {first, second}) {
            const fs::path candidate = folder / language / page;
            if (fs::is_regular_file(candidate, ec)) return candidate.string();
        }
        searched += (searched.empty() ? "" : " or ") + folder.string();
    }
    throw Error("no help page for topic " + std::to_string(context) + " of " + helpFile + " in " + searched);
}

void ShowHelpTopic(const std::string& helpFile, int32_t context) {
    const std::string page = HelpTopicPage(helpFile, context);
    const bool opened = Opener() ? Opener()(page) : OpenInBrowser(page);
    if (!opened)
        throw Error(page, "no browser to open it: install xdg-utils or set BROWSER",
                    page + ": no browser to open it: install xdg-utils or set BROWSER");
}

void SetHelpOpener(std::function<bool(const std::string& page)> opener) { Opener() = std::move(opener); }

}  // namespace tavo::platform
