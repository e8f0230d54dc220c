// The settings dialog's behaviour in its three modes and the hyperlink
// label, with a toolkit that records what the form asks of it; what OK and
// "更新" write is compared key by key in "tavo.ini".
#include <gtest/gtest.h>

#include <deque>
#include <map>

#include "forms/config_form.h"
#include "forms/config_texts.h"
#include "forms/ht_label.h"
#include "settings/profile_file.h"
#include "settings/settings_keys.h"
#include "test_support.h"

namespace tavo {
namespace {

using test::TempDir;

class FakeConfigToolkit final : public ConfigToolkit {
public:
    std::deque<std::optional<std::string>> answers;
    std::vector<SaveDialogRequest> asked;
    std::vector<FormText> messages;
    std::vector<int32_t> helpShown;
    int repaints = 0;

    std::optional<std::string> AskSaveFileName(const SaveDialogRequest& r) override { return Answer(r); }
    std::optional<std::string> AskOpenFileName(const SaveDialogRequest& r) override { return Answer(r); }
    void ShowMessage(const FormText& text, MessageKind) override { messages.push_back(text); }
    void ShowHelp(const std::string& file, int32_t context) override {
        EXPECT_EQ(file.substr(file.size() - 8), "tavo.hlp");
        helpShown.push_back(context);
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
    FakeConfigToolkit toolkit;
    std::unique_ptr<TConfigForm> form;
};

TEST(ConfigForm, TreesPagesAndHelpContextsOfTheThreeModes) {
    const auto pages = [](ConfigMode m) {
        std::string out;
        for (const ConfigTreeEntry& e : ConfigTree(m)) out += std::to_string(e.Level) + ":" + std::to_string(e.Page) + " ";
        return out;
    };
    EXPECT_EQ(pages(ConfigMode::Export), "1:1 2:2 2:3 2:4 2:5 2:6 2:7 2:8 1:101 ");
    EXPECT_EQ(pages(ConfigMode::Dump), "1:21 2:22 1:101 ");
    EXPECT_EQ(pages(ConfigMode::Build), "1:31 2:32 2:33 2:34 1:101 ");
    const struct {
        uint8_t page;
        const char* panel;
        int32_t help;
    } kCases[] = {{0, "", 110},          {1, "pnExpTarget", 1010}, {2, "pnExpTarget", 1040}, {3, "pnExpScale", 1050},
                  {8, "pnOption", 1100}, {22, "pnDumpFile", 2020}, {31, "pnExpTarget", 3010}, {33, "pnExpScale", 3040},
                  {34, "pnMoji", 3050},  {101, "pnAbout", 110}};
    for (const auto& c : kCases) {
        EXPECT_STREQ(PanelName(PanelOfPage(c.page)), c.panel) << int(c.page);
        EXPECT_EQ(HelpContextOfPage(c.page), c.help) << int(c.page);
    }
    Dialog d(ConfigMode::Build);
    EXPECT_EQ(d.form->CurrentPage, 31);
    d.form->tvContentsChange(34);
    d.form->bnHelpClick();
    EXPECT_EQ(d.toolkit.helpShown, std::vector<int32_t>{3050});
    d.form->TreeReady = false;  // while the tree is filled, selections are ignored
    d.form->tvContentsChange(33);
    EXPECT_EQ(d.form->CurrentPage, 34);
}

TEST(ConfigForm, KeyFiltersAndGridNavigation) {
    const struct {
        KeyFilter filter;
        const char* through;
        const char* swallowed;
    } kCases[] = {{KeyFilter::Decimal, "0123456789.", "-a,e "},
                  {KeyFilter::Digits, "0123456789", ".-a"},
                  {KeyFilter::Pen, "123456", "0789a"},
                  {KeyFilter::LineType, "123456789", "0a."},
                  {KeyFilter::Grid, "0123456789", ".-a"}};
    for (const auto& c : kCases) {
        for (const char* k = c.through; *k; ++k) EXPECT_EQ(FilterKey(c.filter, *k), KeyAnswer::Pass) << *k;
        for (const char* k = c.swallowed; *k; ++k) EXPECT_EQ(FilterKey(c.filter, *k), KeyAnswer::Swallow) << *k;
        EXPECT_EQ(FilterKey(c.filter, kKeyBack), KeyAnswer::Pass);
        EXPECT_EQ(FilterKey(c.filter, kKeyReturn),
                  c.filter == KeyFilter::Grid ? KeyAnswer::NextCell : KeyAnswer::NextControl);
    }
    EXPECT_EQ(NextGridCell({1, 1}, kMojiCols, kMojiRows), (GridCell{2, 1}));
    EXPECT_EQ(NextGridCell({4, 3}, kMojiCols, kMojiRows), (GridCell{1, 4}));
    EXPECT_EQ(NextGridCell({4, 10}, kMojiCols, kMojiRows), (GridCell{1, 1}));
    EXPECT_EQ(NextGridCell({16, 1}, kGroupScaleCols, kGroupScaleRows), (GridCell{1, 1}));
}

TEST(ConfigForm, FactoryValuesFillTheExportPagesAndOkWritesThemWithoutCreatingTavoDat) {
    Dialog d(ConfigMode::Export);
    TConfigForm& f = *d.form;
    EXPECT_EQ(f.CurrentPage, 1);
    EXPECT_EQ(f.ShownPanel, ConfigPanel::ExpTarget);
    EXPECT_EQ(f.TargetChecked, 0);
    EXPECT_EQ(f.PlacementChecked, 0);
    EXPECT_FALSE(f.ExtraGroupEnabled);
    EXPECT_STREQ(f.ExtraGroupCaption, sjis::kExtraGroup);
    EXPECT_EQ(f.edFName, ".jwc");
    EXPECT_EQ(f.cbDraft, 3);
    EXPECT_EQ(f.edDimen, "0.35");
    EXPECT_EQ(f.edScale, "100");
    EXPECT_TRUE(f.SameScaleChecked);
    EXPECT_EQ(f.sgGroupScale[0][16], "F");
    EXPECT_EQ(f.sgGroupScale[1][16], "100");
    EXPECT_EQ(f.cbRGrp, 15);
    EXPECT_EQ(f.cbRLay, 1);
    EXPECT_EQ(f.ColorBoxes[0], "2");   // palette index 1
    EXPECT_EQ(f.ColorBoxes[39], "2");  // palette index 2
    EXPECT_EQ(f.ColorBoxes[20], "1");  // palette index 42
    EXPECT_EQ(f.TypeBoxes[2], "7");
    EXPECT_EQ(f.edDouble, "0.50");
    EXPECT_EQ(f.sgTable[0][0], "\x81\x40");
    EXPECT_EQ(f.sgTable[0][4], "\x8A\xD4\x8A\x75");  // 間隔
    EXPECT_EQ(f.sgTable[10][0], "[F10]");
    EXPECT_EQ(f.sgTable[10][2], "100");
    EXPECT_EQ(f.sgTable[3][4], "5");
    EXPECT_FALSE(d.IniExists());
    f.bnOkClick();
    EXPECT_EQ(f.ModalResult, 1);
    // Everything comes back as it was read, the strings too.
    const TSettings factory = FactorySettings();
    for (const SettingsKey& key : RecordKeys())
        EXPECT_EQ(d.Key(key.section, key.name), key.format(factory)) << key.name;
    EXPECT_EQ(d.Key("Export", "FileName"), ".jwc");
    EXPECT_EQ(d.Key("Export", "FilePath"), "");
    EXPECT_EQ(d.Key("Export", "DumpName"), "");
    EXPECT_EQ(d.Key("Dump", "CeckLine"), "<none>");
}

TEST(ConfigForm, EveryBoxAcceptsWhatIsTypedAndTheStoreMakesItValid) {
    const struct {
        const char* text;
        const char* jwcScale;
        const char* dimScale;
        const char* pen;
    } kCases[] = {
        {"0", "1", "0.035", "1"},     {"5000", "1000", "3.500", "6"}, {"", "100", "0.350", "1"},
        {"9.99", "100", "3.500", "1"}, {"abc", "100", "0.350", "1"}, {"99999999999", "100", "3.500", "1"},
        {"$10", "16", "0.350", "6"},
    };
    for (const auto& c : kCases) {
        Dialog d(ConfigMode::Export);
        TConfigForm& f = *d.form;
        f.edScale = f.edDimen = f.edRCol = f.ColorBoxes[0] = f.TypeBoxes[0] = f.sgTable[1][2] = c.text;
        f.sgGroupScale[1][1] = c.text;
        f.bnOkClick();
        ASSERT_EQ(f.ModalResult, 1);
        EXPECT_EQ(d.Key("Export", "JwcScale"), c.jwcScale) << c.text;
        EXPECT_EQ(d.Key("Export", "DimScale"), c.dimScale) << c.text;
        EXPECT_EQ(d.Key("Export", "SenColor"), c.pen) << c.text;
        EXPECT_EQ(d.Key("Export", "BColorIndex").substr(0, 2), std::string(c.pen) + ",") << c.text;
        const std::string groups = d.Key("Export", "GroupScale");
        EXPECT_EQ(groups.substr(0, groups.find(',')), c.jwcScale) << c.text;
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

TEST(ConfigForm, PaperOutsideTheListStoresMinusOneAndLayersAndOptionsComeBack) {
    Dialog d(ConfigMode::Export,
             "[Export]\nPlotSize=7\nSenLay=37\nMojiLay=0\nSimbolLay=255\nIsSameScale=0\nExchangeSolid=1\n"
             "BColorIndex=2,2,5,3,6,4,5,1,5,3,6,3,5,3,2,2,9,9,9,9,9,9,9,9,9,9,9,9,9,9,9,9\n");
    TConfigForm& f = *d.form;
    EXPECT_EQ(f.cbDraft, -1);
    EXPECT_FALSE(f.SameScaleChecked);
    EXPECT_EQ(f.cbRGrp, 2);
    EXPECT_EQ(f.cbRLay, 5);
    EXPECT_TRUE(f.ExchangeSolidChecked);
    f.cbMGrp = 10;
    f.cbMLay = 3;
    f.ExchangeCaretChecked = true;
    f.bnOkClick();
    EXPECT_EQ(d.Key("Export", "PlotSize"), "-1");
    EXPECT_EQ(d.Key("Export", "SenLay"), "37");
    EXPECT_EQ(d.Key("Export", "MojiLay"), "163");
    EXPECT_EQ(d.Key("Export", "SimbolLay"), "255");
    EXPECT_EQ(d.Key("Export", "IsSameScale"), "0");
    EXPECT_EQ(d.Key("Export", "ExchangeCaret"), "1");
    // The 16 palette entries without a swatch keep what they held.
    EXPECT_EQ(d.Key("Export", "BColorIndex").substr(0, 48), "2,2,5,3,6,4,5,1,5,3,6,3,5,3,2,2,9,9,9,9,9,9,9,9,");
}

TEST(ConfigForm, TargetSwitchingChangesTheGroupAndTheExtension) {
    Dialog d(ConfigMode::Export, "[Export]\nExportTarget=2\nFileName=/tmp/a.b/plan.jwc\nPlotOffset=2\n");
    TConfigForm& f = *d.form;
    EXPECT_TRUE(f.ExtraGroupEnabled);
    EXPECT_TRUE(f.CommentsEnabled);
    EXPECT_STREQ(f.ExtraGroupCaption, sjis::kExtraGroupJwc);
    EXPECT_EQ(f.PlacementChecked, 2);
    f.rbToPreviewClick(3);
    EXPECT_EQ(f.edFName, "/tmp/a.b/plan.txt");
    EXPECT_FALSE(f.CommentsEnabled);
    EXPECT_STREQ(f.ExtraGroupCaption, sjis::kExtraGroupTxt);
    f.bnSaveAsClick();
    EXPECT_EQ(d.toolkit.asked.back().DefaultExt, "txt");
    EXPECT_STREQ(d.toolkit.asked.back().Filter.c_str(), sjis::kTxtSaveFilter);
    f.rbToPreviewClick(2);
    EXPECT_EQ(f.edFName, "/tmp/a.b/plan.jwc");
    EXPECT_TRUE(f.CommentsEnabled);
    f.rbToPreviewClick(1);
    EXPECT_FALSE(f.ExtraGroupEnabled);
    f.rbToPreviewClick(3);
    f.edFName = "/tmp/a.b/noext";
    d.toolkit.answers.push_back("/work/out/sheet.txt");
    f.bnSaveAsClick();
    EXPECT_EQ(f.edFName, "/work/out/sheet.txt");
    f.edFName = "/tmp/a.b/noext";
    f.PlacementChecked = 1;
    f.bnOkClick();
    EXPECT_EQ(d.Key("Export", "ExportTarget"), "3");
    EXPECT_EQ(d.Key("Export", "FileName"), "/tmp/a.b/noext.txt");
    EXPECT_EQ(d.Key("Export", "FilePath"), "/tmp/a.b/");
    EXPECT_EQ(d.Key("Export", "PlotOffset"), "1");
}

TEST(ConfigForm, BuildModeWithTarget3ChecksNoButtonAndOkStoresAJwcFile) {
    Dialog d(ConfigMode::Build, "[Export]\nExportTarget=3\nFileName=out.txt\nPlotOffset=1\nComment1=c\n");
    TConfigForm& f = *d.form;
    EXPECT_EQ(f.TargetChecked, -1);
    EXPECT_FALSE(f.ShowsPlacement());
    EXPECT_FALSE(f.ShowsJwwTarget());
    EXPECT_EQ(f.edFName, "out.jwc");
    f.tvContentsChange(33);
    f.edScale = "250";
    f.bnOkClick();
    EXPECT_EQ(f.ModalResult, 1);
    EXPECT_EQ(d.Key("Export", "ExportTarget"), "2");
    EXPECT_EQ(d.Key("Export", "FileName"), "out.jwc");
    EXPECT_EQ(d.Key("Export", "JwcScale"), "250");
    EXPECT_EQ(d.Key("Export", "PlotOffset"), "1");  // build mode has no placement
    EXPECT_EQ(d.Key("Export", "Comment1"), "c");
}

TEST(ConfigForm, RenewalWritesThePageOfTheRecordAndCancelNothingMore) {
    Dialog d(ConfigMode::Export);
    TConfigForm& f = *d.form;
    f.tvContentsChange(6);
    f.TypeBoxes[0] = "9";
    f.edScale = "500";  // another page: not stored by "更新" here
    f.edCom1 = "not written";
    f.bnRenewalClick();
    EXPECT_EQ(d.Key("Export", "BTypeIndex"), "9,2,7,5,3,1,8,8,6,4,1,1,1");
    EXPECT_EQ(d.Key("Export", "JwcScale"), "100");
    EXPECT_EQ(d.Key("Export", "Comment1"), "<none>");
    f.TypeBoxes[1] = "9";
    f.Cancel();
    EXPECT_EQ(f.ModalResult, 2);
    EXPECT_EQ(d.Key("Export", "BTypeIndex"), "9,2,7,5,3,1,8,8,6,4,1,1,1");
    // Pages without values, and the dump page, write nothing.
    for (uint8_t page : {1, 101}) {
        Dialog other(ConfigMode::Export);
        other.form->tvContentsChange(page);
        other.form->bnRenewalClick();
        EXPECT_FALSE(other.IniExists());
    }
    Dialog dump(ConfigMode::Dump);
    dump.form->tvContentsChange(22);
    dump.form->bnRenewalClick();
    EXPECT_FALSE(dump.IniExists());
}

TEST(ConfigForm, FactoryButtonsRefillOnlyTheirBoxes) {
    Dialog d(ConfigMode::Export, "[Export]\nBTypeIndex=9,9,9,9,9,9,9,9,9,9,9,9,9\nDoubleSenPitch=2\n"
                                 "BColorIndex=6,6,6,6,6,6,6,6,6,6,6,6,6,6,6,6,6,6,6,6,6,6,6,6,6,6,6,6,6,6,6,6,"
                                 "6,6,6,6,6,6,6,6,6,6,6,6,6,6,6,6,6,6,6,6,6,6,6,6\n"
                                 "[MojiTable]\nPenNo=6,6,6,6,6,6,6,6,6,6\n");
    TConfigForm& f = *d.form;
    f.bnIniTypeClick();
    f.bnIniColorClick();
    f.bnMojiIniClick();
    EXPECT_EQ(f.Settings.BTypeIndex[0], 9);  // unchanged until the page is stored
    EXPECT_EQ(f.edDouble, "0.50");
    f.bnOkClick();
    EXPECT_EQ(d.Key("Export", "BTypeIndex"), "1,2,7,5,3,1,8,8,6,4,1,1,1");
    EXPECT_EQ(d.Key("Export", "DoubleSenPitch"), "0.500");
    EXPECT_EQ(d.Key("Export", "BColorIndex"), "2,2,5,3,6,4,5,1,5,3,6,3,5,3,2,2,6,6,6,6,6,6,6,6,6,6,6,6,6,6,6,6,"
                                              "1,1,3,4,1,5,5,4,6,1,3,4,4,4,6,2,2,3,2,6,5,5,6,2");
    EXPECT_EQ(d.Key("MojiTable", "PenNo"), "1,1,2,2,3,3,4,4,5,5");
}

TEST(ConfigForm, DumpModeWritesStringsAndFlagsButNotTheRecord) {
    Dialog d(ConfigMode::Dump, "[Export]\nDumpName=/d/old.JWC\nFileName=x.jwc\n[Dump]\nCeckCircle=0\n");
    TConfigForm& f = *d.form;
    EXPECT_EQ(f.CurrentPage, 21);
    EXPECT_EQ(f.edDumpName, "/d/old.jwc");
    EXPECT_EQ(f.DumpBoxes, (std::array<bool, 4>{true, false, true, true}));
    f.edDumpName = "/d/new";
    f.DumpBoxes = {false, true, true, false};
    d.toolkit.answers.push_back(std::nullopt);
    f.bnDumpFileClick();  // cancelled: the box keeps its text
    EXPECT_EQ(d.toolkit.asked.back().FileName, "/d/new");
    f.bnOkClick();
    EXPECT_EQ(f.ModalResult, 1);
    EXPECT_EQ(d.Key("Export", "DumpName"), "/d/new.jwc");
    EXPECT_EQ(d.Key("Export", "FileName"), "x.jwc");
    EXPECT_EQ(d.Key("Export", "FilePath"), d.store.folder());
    EXPECT_EQ(d.Key("Dump", "CeckLine"), "0");
    EXPECT_EQ(d.Key("Dump", "CeckCircle"), "1");
    EXPECT_EQ(d.Key("Dump", "CeckDot"), "0");
    EXPECT_EQ(d.Key("Export", "JwcScale"), "<none>");
}

TEST(ConfigForm, AnUnwritableTavoIniKeepsTheOldFileAndTheDialogOpen) {
    Dialog d(ConfigMode::Export, "[Export]\nJwcScale=200\n");
    const std::string before = test::readFile(d.dir.file("tavo.ini"));
    // The lock beside the file cannot be made: a folder stands in its way.
    std::filesystem::create_directory(d.dir.file("tavo.ini.lock"));
    test::writeFile(d.dir.file("tavo.ini.lock/x"), "");
    d.form->edScale = "300";
    d.form->bnOkClick();
    EXPECT_EQ(d.form->ModalResult, 0);
    ASSERT_EQ(d.toolkit.messages.size(), 1u);
    EXPECT_EQ(test::readFile(d.dir.file("tavo.ini")), before);
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
    EXPECT_TRUE(plain.Underlined);
    plain.MouseEnter();
    plain.Paint();
    EXPECT_EQ(PlainColor(plain.FontColor), 0x0000FFu);  // red
    EXPECT_TRUE(plain.Underlined);
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
    EXPECT_EQ(LinkKindOf(hover.Caption), LinkKind::Mail);
    EXPECT_EQ(hover.Click(), "mailto:HTTP://tavo.example/");
    EXPECT_EQ(LinkTarget("someone@tavo.example"), "mailto:someone@tavo.example");
    EXPECT_EQ(LinkColorValue("256,0,0", "0,0,1"), 0x2010000u);

    const struct {
        const char* command;
        const char* expected;
    } kCommands[] = {
        {"\"C:\\Browser\\browser.exe\" \"%1\"", "\"C:\\Browser\\browser.exe\" x@y"},
        {"C:\\Mail\\mail.exe /m %1", "C:\\Mail\\mail.exe /m x@y"},
        {"mail.exe", "mail.exe x@y"},
    };
    for (const auto& c : kCommands) EXPECT_EQ(CommandLineFor(c.command, "x@y"), c.expected);
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
