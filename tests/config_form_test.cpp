// The settings dialog's behaviour in its three modes and the hyperlink
// label, with a toolkit that records what the form asks of it; what OK and
// "更新" write is compared key by key in "tavo.ini".
#include <gtest/gtest.h>

#include <map>

#include "forms/config_form.h"
#include "forms/config_texts.h"
#include "forms/ht_label.h"
#include "settings/profile_file.h"
#include "settings/settings_keys.h"
#include "forms_support.h"
#include "test_support.h"

namespace tavo {
namespace {

using test::FakeToolkit;
using test::TempDir;

struct Dialog {
    explicit Dialog(ConfigMode mode, const std::string& ini = "") : store(dir.path().string() + "/") {
        if (!ini.empty()) test::writeFile(dir.file("tavo.ini"), ini);
        form = std::make_unique<TConfigForm>(mode, toolkit, store);
        form->Open();
    }
    std::string Key(const char* section, const char* key) const { return store.loadIni().read(section, key, "<none>"); }
    bool IniExists() const { return std::filesystem::exists(dir.file("tavo.ini")); }

    TempDir dir;
    SettingsStore store;
    FakeToolkit toolkit;
    std::unique_ptr<TConfigForm> form;
};

TEST(ConfigForm, SelectionsWhileTheTreeIsFilledAreIgnored) {
    Dialog d(ConfigMode::Build);
    d.form->tvContentsChange(34);
    d.form->TreeReady = false;
    d.form->tvContentsChange(33);
    EXPECT_EQ(d.form->CurrentPage, 34);
}

TEST(ConfigForm, OkWritesTheFactoryRecordBackAsItWasRead) {
    Dialog d(ConfigMode::Export);
    TConfigForm& f = *d.form;
    EXPECT_FALSE(d.IniExists());
    f.bnOkClick();
    EXPECT_EQ(f.ModalResult, 1);
    // Everything comes back as it was read, the strings too.
    const TSettings factory = FactorySettings();
    for (const SettingsKey& key : RecordKeys())
        EXPECT_EQ(d.Key(key.section, key.name), key.format(factory)) << key.name;
    EXPECT_EQ(d.Key("Export", "FileName"), ".jwc");
    EXPECT_EQ(d.Key("Dump", "CeckLine"), "<none>");
}

TEST(ConfigForm, EveryBoxAcceptsWhatIsTypedAndTheStoreMakesItValid) {
    const struct {
        const char* text;
        const char* jwcScale;
        const char* dimScale;
        const char* pen;
    } kCases[] = {
        {"0", "1", "0.035", "1"}, {"", "100", "0.350", "1"}, {"abc", "100", "0.350", "1"},
        {"99999999999", "100", "3.500", "1"}, {"$10", "16", "0.350", "6"},  // the scenario scales_units has more
    };
    for (const auto& c : kCases) {
        Dialog d(ConfigMode::Export);
        TConfigForm& f = *d.form;
        f.edScale = f.edDimen = f.edRCol = f.ColorBoxes[0] = f.TypeBoxes[0] = f.sgTable[1][2] = c.text;
        f.sgGroupScale[1][1] = c.text;
        f.bnOkClick();
        ASSERT_EQ(f.ModalResult, 1);
        const std::string groups = d.Key("Export", "GroupScale"), colours = d.Key("Export", "BColorIndex");
        EXPECT_EQ(d.Key("Export", "JwcScale") + " " + groups.substr(0, groups.find(',')) + " " +
                      d.Key("Export", "DimScale") + " " + d.Key("Export", "SenColor") + " " + colours.substr(0, 1),
                  std::string(c.jwcScale) + " " + c.jwcScale + " " + c.dimScale + " " + c.pen + " " + c.pen)
            << c.text;
    }
    Dialog d(ConfigMode::Export);
    TConfigForm& f = *d.form;
    f.edDouble = "25";
    f.sgTable[10][1] = "7";
    f.sgTable[10][3] = "5";
    f.sgTable[10][4] = "-500";
    f.edCom1 = "line\r\nbreak";
    f.edCom2 = std::string(31, 'a') + "\x95\xBD";  // 平 would end past byte 32
    f.bnOkClick();
    EXPECT_EQ(d.Key("Export", "DoubleSenPitch"), "10.000");
    EXPECT_EQ(d.Key("MojiTable", "PenNo"), "1,1,2,2,3,3,4,4,5,6");
    EXPECT_EQ(d.Key("MojiTable", "MojiHeight"), "20,25,30,40,50,60,70,80,90,10");
    EXPECT_EQ(d.Key("MojiTable", "MojiPitch"), "0,0,5,5,5,10,10,10,10,-100");
    EXPECT_EQ(d.Key("Export", "Comment1"), "line  break");
    EXPECT_EQ(d.Key("Export", "Comment2"), std::string(31, 'a'));
}

// The scenario target_switching works the boxes; here what the save
// dialog is asked and the folder stored with the name.
TEST(ConfigForm, TheTargetChoosesTheSaveDialogsExtensionAndOkTheStoredFolder) {
    Dialog d(ConfigMode::Export, "[Export]\nExportTarget=2\nFileName=/tmp/a.b/plan.jwc\n");
    TConfigForm& f = *d.form;
    f.rbToPreviewClick(3);
    EXPECT_STREQ(f.ExtraGroupCaption, sjis::kExtraGroupTxt);
    d.toolkit.answers.push_back("/work/out/sheet.txt");
    f.bnSaveAsClick();
    EXPECT_EQ(d.toolkit.asked.back().DefaultExt, "txt");
    EXPECT_EQ(f.edFName, "/work/out/sheet.txt");
    f.edFName = "/tmp/a.b/noext";
    f.bnOkClick();
    EXPECT_EQ(d.Key("Export", "FileName"), "/tmp/a.b/noext.txt");
    EXPECT_EQ(d.Key("Export", "FilePath"), "/tmp/a.b/");
}

// The scenario renewal_cancel stores a page with "更新"; pages without
// values, and the dump page, write nothing.
TEST(ConfigForm, RenewalOnAPageWithoutRecordValuesWritesNothing) {
    for (const auto& [mode, page] : {std::pair(ConfigMode::Export, 1), {ConfigMode::Export, 101}, {ConfigMode::Dump, 22}}) {
        Dialog d(mode);
        d.form->tvContentsChange(uint8_t(page));
        d.form->bnRenewalClick();
        EXPECT_FALSE(d.IniExists()) << page;
    }
}

// The scenario layers_pens_types presses the 初期値 buttons; the 16 palette
// entries without a swatch keep what they held even then.
TEST(ConfigForm, PaletteEntriesWithoutASwatchKeepTheirValues) {
    const std::string sixes = "6,6,6,6,6,6,6,6,6,6,6,6,6,6,6,6,";
    Dialog d(ConfigMode::Export, "[Export]\nBColorIndex=" + sixes + sixes + sixes + "6,6,6,6,6,6,6,6\n");
    d.form->bnIniColorClick();
    d.form->bnOkClick();
    EXPECT_EQ(d.Key("Export", "BColorIndex").substr(32, 32), sixes);
}

TEST(ConfigForm, DumpModeReadsTheNameInLowerCaseAndACancelledDialogKeepsIt) {
    Dialog d(ConfigMode::Dump, "[Export]\nDumpName=/d/old.JWC\nFileName=x.jwc\n[Dump]\nCeckCircle=0\n");
    TConfigForm& f = *d.form;
    EXPECT_EQ(f.CurrentPage, 21);
    EXPECT_EQ(f.edDumpName, "/d/old.jwc");
    EXPECT_EQ(f.DumpBoxes, (std::array<bool, 4>{true, false, true, true}));
    f.edDumpName = "/d/new";
    d.toolkit.answers.push_back(std::nullopt);
    f.bnDumpFileClick();
    EXPECT_EQ(d.toolkit.asked.back().FileName, "/d/new");
    f.bnOkClick();
    EXPECT_EQ(d.Key("Export", "DumpName"), "/d/new.jwc");
    EXPECT_EQ(d.Key("Export", "FileName"), "x.jwc");
    EXPECT_EQ(d.Key("Export", "FilePath"), d.store.folder());
}

TEST(ConfigForm, AnUnwritableTavoIniKeepsTheDialogOpenWithAMessage) {
    Dialog d(ConfigMode::Export, "[Export]\nJwcScale=200\n");
    const std::string before = test::readFile(d.dir.file("tavo.ini"));
    // The lock beside the file cannot be made: a folder stands in its way.
    std::filesystem::create_directory(d.dir.file("tavo.ini.lock"));
    test::writeFile(d.dir.file("tavo.ini.lock/x"), "");
    d.form->bnOkClick();
    EXPECT_EQ(d.form->ModalResult, 0);
    d.form->tvContentsChange(3);
    d.form->bnRenewalClick();
    EXPECT_EQ(d.toolkit.messages.size(), 2u);
    EXPECT_EQ(test::readFile(d.dir.file("tavo.ini")), before);
}

TEST(HtLabel, ColoursHoverUnderlineAndWhatAClickOpens) {
    THTLabel plain;
    plain.Caption = "http://tavo.example/";
    plain.Paint();
    EXPECT_EQ(plain.FontColor, 0x2FF0000u);  // blue, palette-relative
    plain.MouseEnter();
    plain.Paint();
    EXPECT_EQ(PlainColor(plain.FontColor), 0x0000FFu);  // red
    EXPECT_EQ(plain.Click(), "http://tavo.example/");
    EXPECT_EQ(PlainColor(plain.FontColor), 0xFF00FFu);

    THTLabel hover({"10,20,30", "bad", "1,2", "yes"});
    hover.Paint();
    EXPECT_EQ(PlainColor(hover.FontColor), 0x1E140Au);
    EXPECT_FALSE(hover.Underlined);
    hover.MouseEnter();
    hover.Paint();
    EXPECT_EQ(PlainColor(hover.FontColor), 0x0000FFu);  // a malformed colour takes the default
    EXPECT_TRUE(hover.Underlined);
    hover.Caption = "HTTP://tavo.example/";
    EXPECT_EQ(hover.Click(), "mailto:HTTP://tavo.example/");
    EXPECT_EQ(LinkColorValue("256,0,0", "0,0,1"), 0x2010000u);
    EXPECT_EQ(CommandLineFor("mail.exe", "x@y"), "mail.exe x@y");
}

// Records what the label asks of the shell: "open A", "run C", one per line.
struct FakeShell final : LinkShell {
    bool opens = false;
    std::map<std::string, std::string> keys;
    std::string log;
    bool ShellOpen(const std::string& address) override {
        log += "open " + address + "\n";
        return opens;
    }
    std::optional<std::string> ClassesDefault(const std::string& key) override {
        const auto found = keys.find(key);
        return found == keys.end() ? std::nullopt : std::optional<std::string>(found->second);
    }
    void Run(const std::string& commandLine) override { log += "run " + commandLine + "\n"; }
};

TEST(HtLabel, OpeningACaptionThroughTheShellOrTheRegisteredCommand) {
    const std::map<std::string, std::string> registered = {
        {".htm", "htmlfile"},
        {"htmlfile\\shell\\open\\command", "\"C:\\b.exe\" -nohome \"%1\""},
        {"mailto\\shell\\open\\command", "C:\\m.exe /c %1"},
    };
    const struct {
        const char* caption;
        bool opens;
        bool withKeys;
        const char* log;
    } kCases[] = {
        {"http://a.example/", true, true, "open http://a.example/\n"},
        {"http://a.example/", false, true, "open http://a.example/\nrun \"C:\\b.exe\" -nohome http://a.example/\n"},
        {"http://a.example/", false, false, "open http://a.example/\n"},
        {"x@a.example", true, true, "run C:\\m.exe /c x@a.example\n"},
        {"HTTP://a.example/", true, true, "run C:\\m.exe /c HTTP://a.example/\n"},
        {"x@a.example", true, false, ""},
    };
    for (const auto& c : kCases) {
        FakeShell shell;
        shell.opens = c.opens;
        if (c.withKeys) shell.keys = registered;
        OpenCaption(c.caption, shell);
        EXPECT_EQ(shell.log, c.log) << c.caption;
    }
    // An empty registered command would start the caption as a program.
    FakeShell empty;
    empty.keys["mailto\\shell\\open\\command"] = "";
    OpenCaption("x@a.example", empty);
    EXPECT_EQ(empty.log, "");
}

}  // namespace
}  // namespace tavo
