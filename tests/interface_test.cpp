// The JWC call family through the exported functions, as a host calls them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <tuple>

#include "export/export_jwc_writer.h"
#include "export/jw_object.h"
#include "export/jwc_import.h"
#include "jwc/jwc_file.h"
#include "jwc/jwc_reader.h"
#include "tavo.h"
#include "test_support.h"

namespace {

using tavo::test::TempDir;

// What the library puts after a settings folder named without one.
#ifdef _WIN32
constexpr const char* kSeparator = "\\";
#else
constexpr const char* kSeparator = "/";
#endif

// Owns a string handed out by the library.
struct Out {
    explicit Out(TavoString s) : p(s) {}
    ~Out() { TavoFreeString(p); }
    std::string str() const { return std::string(p, TavoStringByteLen(p)); }
    TavoString p;
};

std::string lastError() { return Out(TavoGetLastError()).str(); }

// A host string argument: the address of a variable holding the text's address.
struct In {
    explicit In(const std::string& s) : text(s), ptr(text.c_str()) {}
    std::string text;
    const char* ptr;
    TavoStringIn ref() const { return &ptr; }
};

template <class Record>
bool allZero(const Record& r) {
    Record zero;
    std::memset(&zero, 0, sizeof zero);
    return std::memcmp(&r, &zero, sizeof r) == 0;
}

class JwcExports : public ::testing::Test {
protected:
    void TearDown() override { JwcDestroy(); }
};

TEST_F(JwcExports, BuildSaveLoadAndReadBack) {
    TempDir dir;
    const In file(dir.file("plan.jwc"));
    JwcCreate(3, 100);
    EXPECT_EQ(lastError(), "");
    SetComment(In("first").ref(), In("second").ref());
    SetMojiTable(2, 1, 25, 25, 0);
    AddSen(0, 0, 420, 0, 2, 17, 1, 9, 300);
    AddEnko(42, 42, 21, 10000, 0, 90 * 65536, 0, 3, 18, 2, 0, 0);
    AddMoji(0, 0, 42, 0, 3, 240, 32, In("AB").ref());
    AddMoji(0, 0, 42, 0, 3, 240, 0, In("").ref());
    AddMoji(0, 0, 42, 0, 3, 240, 0, In("C").ref());
    AddTen(4.2f, 8.4f, 5, 242, 7);
    JwcSaveTo(file.ref());
    EXPECT_EQ(lastError(), "");
    const std::string bytes = tavo::test::readFile(file.text);
    // Text area length 6 from the offsets 0, 3 and 4.
    EXPECT_EQ(bytes.substr(600, 20), "4000:0000,4000:0006,");

    JwcCreate(0, 1);  // frees the built drawing
    JwcLoadFrom(file.ref());
    ASSERT_EQ(lastError(), "");
    EXPECT_EQ(GetSenCount(), 1);
    EXPECT_EQ(GetEnkoCount(), 1);
    EXPECT_EQ(GetMojiCount(), 3);
    EXPECT_EQ(GetTenCount(), 1);

    TavoSenRecord sen;
    std::memset(&sen, 0xAB, sizeof sen);
    GetSen(&sen, 0);
    EXPECT_EQ(sen.X2, 518.0f);  // 420 mm on A3 is the full 518 units
    EXPECT_EQ(sen.LineType, 1);
    EXPECT_EQ(sen.Color, 2);
    EXPECT_EQ(sen.Lay, 17);
    EXPECT_EQ(sen.SpareByte, 9);
    EXPECT_EQ(sen.SpareWord, 300);
    EXPECT_EQ(sen.Padding[0] | sen.Padding[1], 0);

    TavoEnkoRecord enko;
    std::memset(&enko, 0xAB, sizeof enko);
    GetEnko(&enko, 0);
    EXPECT_EQ(enko.Flatness, 10000);
    EXPECT_EQ(enko.EndAngle, 90 * 65536);
    EXPECT_EQ(enko.Color, 3);
    EXPECT_EQ(enko.Lay, 18);
    EXPECT_EQ(enko.LineType, 2);
    EXPECT_EQ(enko.Padding1[0] | enko.Padding1[1] | enko.Padding2[0] | enko.Padding2[1], 0);

    TavoMojiRecord moji;
    GetMoji(&moji, 0);
    EXPECT_EQ(moji.MojiNo, 3);
    EXPECT_EQ(moji.Lay, 240);
    EXPECT_EQ(moji.Flags, 32);
    EXPECT_EQ(Out(GetMojiString(0)).str(), "AB");
    EXPECT_EQ(Out(GetMojiString(1)).str(), "");
    EXPECT_EQ(Out(GetMojiString(2)).str(), "C");

    TavoTenRecord ten;
    GetTen(&ten, 0);
    EXPECT_FLOAT_EQ(ten.X * (420.0f / 518), 4.2f);
    EXPECT_EQ(ten.Color, 5);
    EXPECT_EQ(ten.Lay, 242);
    EXPECT_EQ(ten.SpareWord, 7);

    TavoMojiTableRow row;
    GetTable(&row, 2);
    EXPECT_EQ(row.PenNo, 1);
    EXPECT_EQ(row.Width, 25);

    // Loading the same file again doubles everything.
    JwcLoadFrom(file.ref());
    EXPECT_EQ(GetMojiCount(), 6);
    EXPECT_EQ(Out(GetMojiString(5)).str(), "C");
}

// Angles enter from 0 up to a whole turn: the same arc, as readers take it.
TEST_F(JwcExports, ArcAnglesAreKeptWithinAWholeTurn) {
    constexpr int32_t kDegree = 65536;
    JwcCreate(3, 1);
    AddEnko(0, 0, 1, 10000, -90 * kDegree, 400 * kDegree, 370 * kDegree, 1, 0, 1, 0, 0);
    AddEnko(0, 0, 1, 10000, -30 * kDegree, -30 * kDegree, -360 * kDegree, 1, 0, 1, 0, 0);  // whole
    TavoEnkoRecord arc;
    GetEnko(&arc, 0);
    EXPECT_EQ(arc.StartAngle, 270 * kDegree);
    EXPECT_EQ(arc.EndAngle, 40 * kDegree);
    EXPECT_EQ(arc.Tilt, 10 * kDegree);
    TavoEnkoRecord circle;
    GetEnko(&circle, 1);
    EXPECT_EQ(circle.StartAngle, 330 * kDegree);
    EXPECT_EQ(circle.EndAngle, circle.StartAngle);
    EXPECT_EQ(circle.Tilt, 0);
}

TEST_F(JwcExports, OutOfRangeIndexesGiveZerosAndABlank) {
    JwcCreate(3, 1);
    AddSen(1, 1, 2, 2, 1, 1, 1, 1, 1);
    TavoSenRecord sen;
    for (int16_t index : {-1, 1, 32767}) {
        std::memset(&sen, 0xFF, sizeof sen);
        GetSen(&sen, index);
        EXPECT_TRUE(allZero(sen)) << index;
    }
    TavoEnkoRecord enko;
    std::memset(&enko, 0xFF, sizeof enko);
    GetEnko(&enko, 0);
    EXPECT_TRUE(allZero(enko));
    for (int16_t index : {-1, 0, 5}) {
        Out s(GetMojiString(index));
        EXPECT_EQ(s.str(), " ");
        EXPECT_EQ(TavoStringByteLen(s.p), 1u);
    }
    TavoMojiTableRow row;
    for (int16_t r : {-1, 0, 11}) {
        std::memset(&row, 0xFF, sizeof row);
        GetTable(&row, r);
        EXPECT_TRUE(allZero(row)) << r;
    }
    SetMojiTable(11, 9, 9, 9, 9);  // ignored
    SetMojiTable(-1, 9, 9, 9, 9);
    EXPECT_EQ(lastError(), "");
    EXPECT_EQ(DrawWidth(4), 297);
    EXPECT_EQ(DrawWidth(7), 297);
    EXPECT_EQ(DrawWidth(-1), 297);
    EXPECT_EQ(DrawWidth(0), 1189);
    EXPECT_EQ(DrawWidth(3), 420);
}

// The host's Get exports stop at index 32,767; the extension exports reach
// every record, and give zeros and " " outside the lists as they do.
TEST_F(JwcExports, ExtensionExportsReadPastIndex32767) {
    constexpr int32_t kCount = 40000;
    JwcCreate(4, 1);
    const float d = 297.0f / 518.0f;
    for (int32_t i = 0; i < kCount; ++i) {
        const auto x = static_cast<float>(i) * d;
        AddSen(x, 0, 0, 0, 1, 2, 3, 4, 5);
        AddEnko(x, 0, 0, 10000, i, 0, 0, 1, 2, 3, 4, 5);
        AddMoji(x, 0, 0, 0, 1, 2, 0, In(std::to_string(i)).ref());
        AddTen(x, 0, 1, 2, 5);
    }
    ASSERT_EQ(GetSenCount(), kCount);
    for (const int32_t i : {0, 32767, 32768, kCount - 1}) {
        TavoSenRecord sen;
        TavoEnkoRecord enko;
        TavoMojiRecord moji;
        TavoTenRecord ten;
        TavoGetSenEx(&sen, i);
        TavoGetEnkoEx(&enko, i);
        TavoGetMojiEx(&moji, i);
        TavoGetTenEx(&ten, i);
        const auto x = static_cast<float>(static_cast<float>(i) * d / d);
        EXPECT_EQ(sen.X1, x) << i;
        EXPECT_EQ(sen.SpareWord, 5);
        EXPECT_EQ(enko.StartAngle, i);
        EXPECT_EQ(moji.X1, x);
        EXPECT_EQ(moji.Lay, 2);
        EXPECT_EQ(ten.X, x);
        EXPECT_EQ(Out(TavoGetMojiStringEx(i)).str(), std::to_string(i));
    }
    for (const int32_t i : {-1, kCount, INT32_MAX, INT32_MIN}) {
        TavoSenRecord sen;
        std::memset(&sen, 0xFF, sizeof sen);
        TavoGetSenEx(&sen, i);
        EXPECT_TRUE(allZero(sen)) << i;
        EXPECT_EQ(Out(TavoGetMojiStringEx(i)).str(), " ");
    }
    EXPECT_EQ(lastError(), "");
}

TEST_F(JwcExports, CallsWithoutADrawingDoNothingAndSaySo) {
    JwcDestroy();
    AddSen(1, 2, 3, 4, 1, 1, 1, 0, 0);
    EXPECT_NE(lastError().find("no current JWC drawing"), std::string::npos);
    EXPECT_EQ(GetSenCount(), 0);
    TavoSenRecord sen;
    std::memset(&sen, 0xFF, sizeof sen);
    GetSen(&sen, 0);
    EXPECT_TRUE(allZero(sen));
    EXPECT_EQ(Out(GetMojiString(0)).str(), " ");
    EXPECT_NE(lastError(), "");
    TempDir dir;
    const In file(dir.file("x.jwc"));
    JwcSaveTo(file.ref());
    EXPECT_NE(lastError(), "");
    EXPECT_EQ(dir.listing(), "");
    JwcLoadFrom(file.ref());
    EXPECT_NE(lastError(), "");
    // The message survives being read and freed, and clears on success.
    EXPECT_NE(lastError(), "");
    EXPECT_EQ(DrawWidth(1), 841);
    EXPECT_EQ(lastError(), "");
}

TEST_F(JwcExports, NullPointersAreEmptyTextsAndNeverCrash) {
    JwcCreate(3, 1);
    const char* nullText = nullptr;
    AddMoji(0, 0, 1, 0, 1, 0, 0, nullptr);
    AddMoji(0, 0, 1, 0, 1, 0, 0, &nullText);
    SetComment(nullptr, &nullText);
    EXPECT_EQ(lastError(), "");
    EXPECT_EQ(GetMojiCount(), 2);
    EXPECT_EQ(Out(GetMojiString(1)).str(), "");
    GetSen(nullptr, 0);
    GetTable(nullptr, 1);
    EXPECT_NE(lastError(), "");
    JwcSaveTo(nullptr);  // the empty file name cannot be created
    EXPECT_NE(lastError(), "");
    JwcLoadFrom(&nullText);
    EXPECT_NE(lastError(), "");
    TavoFreeString(nullptr);
    EXPECT_EQ(TavoStringByteLen(nullptr), 0u);
}

TEST_F(JwcExports, FailedLoadsReportTheFileAndKeepWhatWasRead) {
    TempDir dir;
    const In file(dir.file("plan.jwc"));
    JwcCreate(3, 1);
    AddSen(0, 0, 1, 1, 1, 1, 1, 0, 0);
    AddSen(0, 0, 2, 2, 1, 1, 1, 0, 0);
    JwcSaveTo(file.ref());
    std::string bytes = tavo::test::readFile(file.text);
    tavo::test::writeFile(file.text, bytes.substr(0, 2389 + 22 + 5));
    JwcCreate(3, 1);
    JwcLoadFrom(file.ref());
    const std::string error = lastError();
    EXPECT_NE(error.find(file.text), std::string::npos) << error;
    EXPECT_NE(error.find("line record 2"), std::string::npos) << error;
    EXPECT_EQ(GetSenCount(), 1);

    JwcLoadFrom(In(dir.file("missing.jwc")).ref());
    EXPECT_NE(lastError().find(dir.file("missing.jwc")), std::string::npos);
}

TEST_F(JwcExports, SavingALoadedDrawingWritesAMatchingHeader) {
    TempDir dir;
    const In first(dir.file("first.jwc"));
    const In second(dir.file("second.jwc"));
    JwcCreate(3, 1);
    AddMoji(0, 0, 1, 0, 1, 0, 0, In("hello").ref());
    JwcSaveTo(first.ref());
    JwcCreate(3, 1);
    JwcLoadFrom(first.ref());
    AddMoji(0, 0, 1, 0, 1, 0, 0, In("more").ref());  // the counter knows only this one
    JwcSaveTo(second.ref());
    JwcCreate(3, 1);
    JwcLoadFrom(second.ref());
    EXPECT_EQ(lastError(), "");
    EXPECT_EQ(GetMojiCount(), 2);
    EXPECT_EQ(Out(GetMojiString(0)).str(), "hello");
    EXPECT_EQ(Out(GetMojiString(1)).str(), "more");
}

TEST_F(JwcExports, ASaveThatCannotCreateTheFileKeepsTheOldOne) {
    TempDir dir;
    const In file(dir.file("plan.jwc"));
    JwcCreate(3, 1);
    JwcSaveTo(file.ref());
    const std::string before = tavo::test::readFile(file.text);
    JwcSaveTo(In(dir.file("no/such/folder.jwc")).ref());
    const std::string error = lastError();
    // "ファイル %s を作成できません" in Shift-JIS, with the name.
    EXPECT_EQ(error.rfind("\x83t\x83@\x83" "C\x83\x8B " + dir.file("no/such/folder.jwc"), 0), 0u) << error;
    EXPECT_EQ(tavo::test::readFile(file.text), before);
    EXPECT_EQ(dir.listing(), "plan.jwc ");
}

}  // namespace

namespace {

// Points the library at a fresh settings folder for one test.
class SettingsExports : public ::testing::Test {
protected:
    void SetUp() override { tavo::test::setEnv("TAVO_SETTINGS_DIR", dir.path().string().c_str()); }
    void TearDown() override {
        tavo::test::setEnv("TAVO_SETTINGS_DIR", nullptr);
        JwcDestroy();
    }
    void writeIni(const std::string& text) { tavo::test::writeFile(dir.file("tavo.ini"), text); }
    TempDir dir;
};

TEST_F(SettingsExports, JwcCreateByInifileTakesPaperScalesAndTextSizes) {
    const In file(dir.file("plan.jwc"));
    JwcCreateByInifile();
    JwcSaveTo(file.ref());
    EXPECT_EQ(lastError(), "");
    std::string bytes = tavo::test::readFile(file.text);
    EXPECT_EQ(bytes.substr(200, 25), "0,0,0,0,0,3,2,1,1,100,0,3");
    TavoMojiTableRow row;
    GetTable(&row, 2);
    EXPECT_EQ(row.PenNo, 1);
    EXPECT_EQ(row.Width, 25);
    EXPECT_EQ(row.Height, 25);
    EXPECT_EQ(row.Spacing, 0);
    GetTable(&row, 0);
    EXPECT_TRUE(allZero(row));

    writeIni("[Export]\r\nJwcScale=50\r\nPlotSize=1\r\nIsSameScale=1\r\nGroupScale=7,8,9\r\n"
             "[MojiTable]\r\nMojiPitch=-5\r\n");
    JwcCreateByInifile();
    AddSen(0, 0, 841, 0, 1, 0, 1, 0, 0);
    GetTable(&row, 1);
    EXPECT_EQ(static_cast<int16_t>(row.Spacing), -5);
    JwcSaveTo(file.ref());
    bytes = tavo::test::readFile(file.text);
    EXPECT_EQ(bytes.substr(200, 24), "1,0,0,0,0,3,2,1,1,50,0,1");
    for (int g = 0; g < 16; ++g) EXPECT_EQ(bytes[1797 + 2 * g], 50) << g;
    TavoSenRecord sen;
    GetSen(&sen, 0);
    EXPECT_EQ(sen.X2, 518.0f);  // the unit divisor of A1

    writeIni("[Export]\r\nJwcScale=50\r\nIsSameScale=0\r\nGroupScale=7,8,9\r\n");
    JwcCreateByInifile();
    JwcSaveTo(file.ref());
    bytes = tavo::test::readFile(file.text);
    EXPECT_EQ(bytes[1797], 7);
    EXPECT_EQ(bytes[1797 + 2 * 2], 9);
    EXPECT_EQ(bytes[1797 + 2 * 3], 100);  // the default list's entry stays
}

TEST_F(SettingsExports, StringsDumpFlagsAndNullPointers) {
    EXPECT_EQ(Out(ReadIniString(4)).str(), dir.path().string() + kSeparator);
    EXPECT_EQ(Out(ReadIniString(0)).str(), "");
    EXPECT_EQ(Out(ReadIniString(6)).str(), "");
    WriteIniString(3, In("C:\\out\\plan.jwc").ref());
    EXPECT_EQ(Out(ReadIniString(3)).str(), "C:\\out\\plan.jwc");

    const TavoDumpChecks flags = {0, 1, -1, 2};
    WriteIniDump(&flags);
    const std::string ini = tavo::test::readFile(dir.file("tavo.ini"));
    EXPECT_NE(ini.find("[Dump]\r\nCeckLine=0\r\nCeckCircle=1\r\nCeckString=1\r\nCeckDot=1\r\n"), std::string::npos);
    TavoDumpChecks back;
    ReadIniDump(&back);
    EXPECT_EQ(back.Line, 0);
    EXPECT_EQ(back.String, -1);

    ReadInifile(nullptr);
    EXPECT_NE(lastError(), "");
    WriteInifile(nullptr);
    ReadIniDump(nullptr);
    WriteIniDump(nullptr);
    EXPECT_NE(lastError(), "");
    EXPECT_EQ(tavo::test::readFile(dir.file("tavo.ini")), ini);

    // A comment with line breaks stays one value and sets nothing else.
    WriteIniString(1, In("note\r\n[Dump]\r\nCeckDot=0\nx").ref());
    EXPECT_EQ(Out(ReadIniString(1)).str(), "note [Dump] CeckDot=0 x");
    ReadIniDump(&back);
    EXPECT_EQ(back.Dot, -1);

    // A null string at either level is the empty text, as for every export.
    const char* none = nullptr;
    for (TavoStringIn value : {static_cast<TavoStringIn>(nullptr), static_cast<TavoStringIn>(&none)}) {
        WriteIniString(1, In("old").ref());
        WriteIniString(1, value);
        EXPECT_EQ(lastError(), "");
        EXPECT_EQ(Out(ReadIniString(1)).str(), "");
    }
}

TEST_F(SettingsExports, AFailedWriteNamesTheFileAndKeepsReading) {
    TavoSettings s;
    std::memset(&s, 0, sizeof s);
    ReadInifile(&s);
    tavo::test::setEnv("TAVO_SETTINGS_DIR", dir.file("not-a-folder").c_str());
    tavo::test::writeFile(dir.file("not-a-folder"), "");
    WriteInifile(&s);
    EXPECT_NE(lastError().find(dir.file("not-a-folder") + kSeparator + "tavo.ini"), std::string::npos) << lastError();
    TavoSettings again;
    std::memset(&again, 0, sizeof again);
    ReadInifile(&again);
    EXPECT_EQ(lastError(), "");
    EXPECT_EQ(std::memcmp(&s, &again, sizeof s), 0);
}

}  // namespace

namespace {

class ExportExports : public SettingsExports {
protected:
    void TearDown() override {
        ObjDestroy();
        SettingsExports::TearDown();
    }
};

TEST_F(ExportExports, AWorksheetGoesToBothFileKinds) {
    writeIni("[Export]\r\nJwcScale=100\r\nIsSameScale=0\r\nGroupScale=1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,100\r\n");
    ObjCreateByInifile();
    ObjCreateByInifile();  // frees the first one
    SetObjComment(In("c1").ref(), In("c2").ref());
    AddLine(10, 20, 30, 20, 2, 241, 1);
    AddCircle(0, 0, 3, 1, 0, 0, 0, 3, 0x01, 1);
    AddText(0, 0, 30, 0, 3, 0x02, In("ABC").ref());
    AddTextV(0, 0, 0, -30, 3, 0x02, nullptr);  // empty: the .jwc leaves it out
    AddTextV(0, 0, 0, -30, 3, 0x02, In("V").ref());
    AddSolid(0, 0, 10, 5, 255, 0x03);
    EXPECT_EQ(lastError(), "");

    const In txt(dir.file("out.txt"));
    ObjSaveToTxtFile(txt.ref());
    EXPECT_EQ(tavo::test::readFile(txt.text),
              "hd\r\nlgF\r\nly1\r\nlc2\r\nlt1\r\n 1.000000E+003 2.000000E+003 3.000000E+003 2.000000E+003\r\n"
              "lg0\r\nlc3\r\nci 0.000000E+000 0.000000E+000 3.000000E+000\r\n"
              "ly2\r\ncn3\r\nch 0.000000E+000 0.000000E+000 3.000000E+001 0.000000E+000 \"ABC\r\n"
              "ch 0.000000E+000 0.000000E+000 0.000000E+000 -3.000000E+001 \"\r\n"
              "ch 0.000000E+000 0.000000E+000 0.000000E+000 -3.000000E+001 \"V\r\n"
              "ly3\r\nlc10 255\r\n"
              "sl 0.000000E+000 0.000000E+000 1.000000E+001 0.000000E+000 1.000000E+001 5.000000E+000 "
              "0.000000E+000 5.000000E+000\r\n");

    const In jwc(dir.file("out.jwc"));
    ObjSaveToJwcFile(jwc.ref());
    EXPECT_EQ(lastError(), "");
    JwcCreate(3, 1);
    JwcLoadFrom(jwc.ref());
    EXPECT_EQ(GetSenCount(), 1);
    EXPECT_EQ(GetEnkoCount(), 1);
    EXPECT_EQ(GetMojiCount(), 2);
    TavoSenRecord sen;
    GetSen(&sen, 0);
    EXPECT_FLOAT_EQ(sen.X2, 30 / (420.0f / 518));  // back to millimetres on the sheet, in units
    EXPECT_EQ(sen.Lay, 241);
    TavoMojiRecord moji;
    GetMoji(&moji, 1);
    EXPECT_EQ(moji.Flags, 32);
    EXPECT_EQ(Out(GetMojiString(0)).str(), "ABC");
}

TEST_F(ExportExports, DxfInEachVersionOrNotAtAll) {
    ObjCreateByInifile();
    AddLine(10, 20, 30, 20, 2, 241, 1);
    AddText(0, 0, 30, 0, 3, 0x02, In("\x8a\xbf").ref());  // 漢
    const In dxf(dir.file("plan.dxf"));
    for (const auto& [profile, version, text] : {std::tuple{-1, "AC1009", "\x8a\xbf"}, {0, "AC1009", "\x8a\xbf"},
                                                 {2000, "AC1015", "\x8a\xbf"}, {2018, "AC1032", "\xe6\xbc\xa2"}}) {
        if (profile < 0)
            ObjSaveToDxfFile(dxf.ref());
        else
            TavoObjSaveToDxfFileEx(dxf.ref(), profile);
        EXPECT_EQ(lastError(), "");
        const std::string bytes = tavo::test::readFile(dxf.text);
        EXPECT_NE(bytes.find(std::string("$ACADVER\r\n  1\r\n") + version), std::string::npos) << profile;
        EXPECT_NE(bytes.find(std::string("\r\n  1\r\n") + text + "\r\n"), std::string::npos) << profile;
    }
    EXPECT_EQ(dir.listing(), "plan.bak plan.dxf ");  // the first file kept as NAME.bak

    const std::string before = tavo::test::readFile(dxf.text);
    TavoObjSaveToDxfFileEx(dxf.ref(), 12);
    EXPECT_NE(lastError().find("DXF profile 12"), std::string::npos) << lastError();
    AddLine(0, 0, NAN, 0, 1, 1, 1);
    ObjSaveToDxfFile(dxf.ref());
    EXPECT_NE(lastError().find(dxf.text), std::string::npos) << lastError();
    EXPECT_NE(lastError().find("line 2"), std::string::npos) << lastError();
    EXPECT_EQ(tavo::test::readFile(dxf.text), before);
}

TEST_F(ExportExports, CallsWithoutADrawingAndFailedSaves) {
    ObjDestroy();
    AddLine(1, 2, 3, 4, 1, 1, 1);
    EXPECT_NE(lastError().find("no current export drawing"), std::string::npos);
    ObjSaveToTxtFile(In(dir.file("x.txt")).ref());
    EXPECT_NE(lastError(), "");
    EXPECT_EQ(dir.listing(), "");

    ObjCreateByInifile();
    AddLine(1, 2, 3, 4, 1, 1, 1);
    const In txt(dir.file("keep.txt"));
    tavo::test::writeFile(txt.text, "old");
    ObjSaveToTxtFile(In(dir.file("nofolder/keep.txt")).ref());
    EXPECT_NE(lastError().find(dir.file("nofolder/keep.txt")), std::string::npos);
    EXPECT_EQ(tavo::test::readFile(txt.text), "old");
    ObjSaveToJwcFile(nullptr);
    EXPECT_NE(lastError(), "");
}

}  // namespace

namespace {

std::string clipboard() { return Out(TavoGetClipboardText()).str(); }

TEST_F(ExportExports, JwtOfBothDrawingsGoesToTheClipboard) {
    JwcCreate(3, 100);
    AddSen(0, 0, 42, 0, 2, 17, 1, 0, 0);  // 51.8 units on A3
    AddMoji(0, 0, 0, 10, 3, 240, 0, In("\x95\xBD\"x").ref());
    CopyToAsJwt();
    EXPECT_EQ(lastError(), "");
    EXPECT_EQ(clipboard(),
              ";<<JWT.Format.Text>>\r\nBEGIN\r\nL2,17,0.00,0.00,4200.00,0.00,1,2\r\n"
              "ST,240,0.00,0.00,90.00,3,\"\x95\xBD\"x\"\r\nEND\r\n");

    ObjCreateByInifile();
    AddLine(10, 20, 30, 20, 2, 241, 1);
    AddSolid(0, 0, 1, 1, 255, 0);
    ObjCopyToAsJwt();
    EXPECT_EQ(clipboard(), ";<<JWT.Format.Text>>\r\nBEGIN\r\nL2,241,1000.00,2000.00,3000.00,2000.00,1,2\r\nEND\r\n");

    ObjDestroy();
    ObjCopyToAsJwt();
    EXPECT_NE(lastError(), "");
    EXPECT_NE(clipboard(), "");  // the last text stays
    JwcDestroy();
    CopyToAsJwt();
    EXPECT_NE(lastError(), "");
}

// Built through the exports, saved, loaded, imported into an export drawing
// and written again as .jwc: the same records, for every paper and with
// groups at different scales.
TEST_F(SettingsExports, JwcThroughTheExportDrawingKeepsItsRecords) {
    for (int16_t paper = 0; paper <= 4; ++paper) {
        SCOPED_TRACE(paper);
        tavo::test::writeFile(dir.file("tavo.ini"),
                              "[Export]\r\nIsSameScale=0\r\nPlotSize=" + std::to_string(paper) +
                                  "\r\nGroupScale=1,50,100,200,3,7,1000,25,1,1,1,1,1,1,1,500\r\n");
        JwcCreateByInifile();
        for (int i = 0; i < 40; ++i) {
            const auto lay = static_cast<uint8_t>((i * 37) % 256);
            const float x = 0.37f * static_cast<float>(i) - 3.1f;
            AddSen(x, x * 2, x + 100.3f, -x, 1 + i % 9, lay, 1 + i % 9, 0, 0);
            AddEnko(x, x, 3.3f + static_cast<float>(i), static_cast<uint16_t>(1000 + i * 200), i * 65536 * 9,
                    -i * 1000, i * 3, 2, lay, 3, 0, 0);
            AddMoji(x, x, x + 20, x + 1, static_cast<uint8_t>(1 + i % 10), lay, i % 2 ? 32 : 0,
                    In(std::string(static_cast<std::size_t>(1 + i % 5), 'a')).ref());
            AddTen(x, -x, 3, lay, 0);
        }
        const In file(dir.file("built.jwc"));
        JwcSaveTo(file.ref());
        ASSERT_EQ(lastError(), "");

        tavo::TJwcFile loaded;
        tavo::LoadJwcFile(loaded, file.text);
        tavo::TJwObject drawing;
        tavo::ImportJwc(loaded, drawing);
        std::unique_ptr<tavo::TJwcFile> again = tavo::MakeJwcFromExport(drawing);
        ASSERT_EQ(again->senCount(), loaded.senCount());
        for (int32_t i = 0; i < loaded.senCount(); ++i) {
            EXPECT_EQ(std::memcmp(again->senAt(i), loaded.senAt(i), sizeof(tavo::Sen)), 0) << i;
            EXPECT_EQ(std::memcmp(again->enkoAt(i), loaded.enkoAt(i), sizeof(tavo::Enko)), 0) << i;
            EXPECT_EQ(std::memcmp(again->mojiAt(i), loaded.mojiAt(i), sizeof(tavo::Moji)), 0) << i;
            EXPECT_EQ(std::memcmp(again->tenAt(i), loaded.tenAt(i), sizeof(tavo::Ten)), 0) << i;
            EXPECT_EQ(again->textAt(i), loaded.textAt(i));
        }
        EXPECT_EQ(again->paperSize, paper);
        EXPECT_EQ(std::memcmp(again->groupScaleInt, loaded.groupScaleInt, sizeof loaded.groupScaleInt), 0);
        EXPECT_EQ(std::memcmp(&again->head.Table, &loaded.head.Table, sizeof loaded.head.Table), 0);
    }
}

}  // namespace
