// The settings dialog's Qt front end on the offscreen platform, opened
// through the three exports: what the scenarios of data/config
// (config_script.cpp) do not reach, the failed write, the link, the help,
// and the dialogs worked by real keys in an X server.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>

#include "qt/config_form.h"
#include "qt/ht_label.h"
#include "qt_script.h"
#include "platform/help.h"
#include "platform/qt_application.h"
#include "settings/profile_file.h"
#include "settings/settings_store.h"
#include "tavo.h"
#include "test_support.h"

namespace tavo {
namespace {

using test::Env;
using test::ModalScript;
using test::TempDir;

constexpr const char* kWindow = "ConfigForm";

struct Settings {
    explicit Settings(const std::string& ini = "") {
        EXPECT_TRUE(platform::EnsureQtApplication(platform::QtUse::Windows));
        if (!ini.empty()) test::writeFile(dir.file("tavo.ini"), ini);
        setenv("TAVO_SETTINGS_DIR", dir.path().c_str(), 1);
    }
    ~Settings() { unsetenv("TAVO_SETTINGS_DIR"); }
    std::string Key(const char* section, const char* key) const {
        return SettingsStore(dir.path().string() + "/").loadIni().read(section, key, "<none>");
    }
    TempDir dir;
};

template <class T>
T* Find(QWidget* w, const char* name) {
    T* child = w->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

// Near the left edge: a radio button or check box is clicked on its mark.
void Click(QWidget* w, const char* name) {
    auto* b = Find<QAbstractButton>(w, name);
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
}

void SelectPage(QWidget* w, int page) {
    auto* tree = Find<QTreeWidget>(w, "tvContents");
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        if ((*it)->data(0, Qt::UserRole).toInt() == page) tree->setCurrentItem(*it);
}

TEST(ConfigDialog, AnUnwritableTavoIniKeepsTheDialogOpenWithTheMessage) {
    Settings s;
    test::writeFile(s.dir.file("file"), "");
    setenv("TAVO_SETTINGS_DIR", s.dir.file("file/settings").c_str(), 1);
    ModalScript script({{kWindow, [](QWidget* w) { Click(w, "bnOk"); }},
                        {"QMessageBox", [](QWidget* box) { QTest::keyClick(box, Qt::Key_Return); }},
                        {kWindow, [](QWidget* w) { Click(w, "bnCancel"); }}});
    EXPECT_EQ(ShowExportForm(), 2);
    EXPECT_TRUE(script.Done());
}

// Help opens the page of the selected node; the about page's link goes to
// its opener.
TEST(ConfigDialog, HelpAndTheLinkOpenWhatTheSelectedPageNamesAndEveryTopicHasItsPages) {
    Settings s;
    setenv("TAVO_HELP_DIR", TAVO_HELP_SOURCE_DIR, 1);
    std::vector<std::string> opened;
    platform::SetHelpOpener([&](const std::string& page) {
        opened.push_back(page);
        return true;
    });
    std::string link;
    setenv("LC_ALL", "ja_JP.UTF-8", 1);  // the page in the locale's language
    ModalScript script({{kWindow, [&](QWidget* w) {
        SelectPage(w, 5);
        Click(w, "bnHelp");
        setenv("LC_ALL", "C", 1);
        SelectPage(w, 101);
        Click(w, "bnHelp");
        auto* label = Find<QtHtLabel>(w, "htLabel");
        label->Open = [&](const std::string& target) { link = target; };
        QTest::mouseClick(label, Qt::LeftButton);
        Click(w, "bnCancel");
    }}});
    EXPECT_EQ(ShowExportForm(), 2);
    unsetenv("LC_ALL");
    platform::SetHelpOpener(nullptr);
    const std::string help = TAVO_HELP_SOURCE_DIR;
    EXPECT_EQ(opened, (std::vector<std::string>{help + "/ja/1070.html", help + "/en/110.html"}));
    EXPECT_EQ(link.substr(0, 7), "http://");
    for (ConfigMode mode : {ConfigMode::Export, ConfigMode::Dump, ConfigMode::Build})
        for (const ConfigTreeEntry& e : ConfigTree(mode))
            for (const char* lang : {"/en/", "/ja/"}) {
                const std::string page = std::string(TAVO_HELP_SOURCE_DIR) + lang +
                                         std::to_string(HelpContextOfPage(e.Page)) + ".html";
                EXPECT_TRUE(std::filesystem::exists(page)) << page;
            }
}

// The build dialog in a real X server (xvfb_test.sh starts one), opened
// as a host opens it and driven by keys that xdotool types: the tree, a
// label's mnemonic, a box's key filter, then OK clicked.
void Xdotool(const QStringList& args) {
    test::RunProgram(QStringLiteral("xdotool"), args);
    QTest::qWait(150);  // the keys reach the window
}

void Keys(const char* keys) {
    Xdotool(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("40")} +
            QString::fromLatin1(keys).split(QLatin1Char(' ')));
}

TEST(SettingsInX, TheBuildDialogDrivenByKeys) {
    if (Env("QT_QPA_PLATFORM") != "xcb" || Env("TAVO_SCREENSHOT_DIR").empty()) GTEST_SKIP() << "needs xvfb_test.sh";
    Settings s;
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    ModalScript script({{kWindow, [](QWidget* w) {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
        Keys("Down Down");  // 縮尺
        EXPECT_EQ(static_cast<QtConfigForm*>(w)->Form().CurrentPage, 33);
        Keys("alt+s ctrl+a 2 x 5 0");  // the letter is swallowed
        Keys("Down Down");  // still in the box: no effect on the tree
        auto* ok = Find<QPushButton>(w, "bnOk");
        const QPoint at = ok->mapToGlobal(ok->rect().center());
        Xdotool({QStringLiteral("mousemove"), QStringLiteral("0"), QStringLiteral("0")});  // --sync waits for a move
        Xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(at.x()), QString::number(at.y()),
                 QStringLiteral("click"), QStringLiteral("1")});
    }}});
    EXPECT_EQ(ShowBuildForm(), 1);
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(s.Key("Export", "JwcScale"), "250");
}

}  // namespace
}  // namespace tavo
