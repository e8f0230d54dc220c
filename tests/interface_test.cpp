// The C adapter as a host calls it: each export reaching its function, host
// strings in and out, the guard (no drawing, null pointers, failures as
// messages) and the state kept between calls. What the files hold is the
// jwc and export tests' matter.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <tuple>

#include "tavo.h"
#include "test_support.h"

namespace {

using tavo::test::TempDir;

// A string handed out by the library, freed.
std::string str(TavoString p) {
    std::string s(p, TavoStringByteLen(p));
    TavoFreeString(p);
    return s;
}

std::string lastError() { return str(TavoGetLastError()); }

// The texts from..to-1, joined by "|".
std::string texts(int16_t from, int16_t to) {
    std::string s;
    for (int16_t i = from; i < to; ++i) s += (i > from ? "|" : "") + str(GetMojiString(i));
    return s;
}

// A host string argument: the address of a variable holding the text's address.
struct In {
    explicit In(const std::string& s) : text(s), ptr(text.c_str()) {}
    std::string text;
    const char* ptr;
    TavoStringIn ref() const { return &ptr; }
};

// A record as a Get export fills it, over bytes that are not zero.
template <class Record, class Index>
Record fetched(void(TAVO_CALL* get)(Record*, Index), int32_t i) {
    Record r;
    std::memset(&r, 0xAB, sizeof r);
    get(&r, static_cast<Index>(i));
    return r;
}

template <class Record>
Record zeroed() {
    Record r;
    std::memset(&r, 0, sizeof r);
    return r;
}

template <class Record>
bool allZero(const Record& r) {
    const Record zero = zeroed<Record>();
    return std::memcmp(&r, &zero, sizeof r) == 0;
}

// A fresh folder that also holds the library's settings; no drawing left behind.
class JwcExports : public ::testing::Test {
protected:
    void SetUp() override { tavo::test::setEnv("TAVO_SETTINGS_DIR", dir.path().string().c_str()); }
    void TearDown() override {
        tavo::test::setEnv("TAVO_SETTINGS_DIR", nullptr);
        JwcDestroy();
        ObjDestroy();
    }
    void writeIni(const std::string& text) { tavo::test::writeFile(dir.file("tavo.ini"), text); }
    TempDir dir;
};
using SettingsExports = JwcExports;

TEST_F(JwcExports, EachExportReachesTheDrawingAndBack) {
    const In file(dir.file("plan.jwc"));
    JwcCreate(3, 100);
    SetComment(In("first").ref(), In("second").ref());
    SetMojiTable(2, 1, 25, 25, 0);
    AddSen(0, 0, 420, 0, 2, 17, 1, 9, 300);
    // Angles are kept from 0 up to a whole turn.
    AddEnko(42, 42, 21, 10000, -90 * 65536, 400 * 65536, -360 * 65536, 3, 18, 2, 0, 0);
    for (const auto& [text, flags] : {std::pair{"AB", 32}, {"", 0}, {"C", 0}}) AddMoji(0, 0, 42, 0, 3, 240, flags, In(text).ref());
    AddTen(4.2f, 8.4f, 5, 242, 7);
    JwcSaveTo(file.ref());
    EXPECT_EQ(lastError(), "");
    EXPECT_EQ(tavo::test::readFile(file.text).substr(40, 6), std::string("first\0", 6));

    JwcCreate(0, 1);  // frees the built drawing
    JwcLoadFrom(file.ref());
    ASSERT_EQ(lastError(), "");
    EXPECT_EQ(std::make_tuple(GetSenCount(), GetEnkoCount(), GetMojiCount(), GetTenCount()), std::make_tuple(1, 1, 3, 1));
    // 420 mm on A3 is the full 518 units; padding comes back as zeros.
    const auto sen = fetched(GetSen, 0);
    const auto enko = fetched(GetEnko, 0);
    const auto ten = fetched(GetTen, 0);
    EXPECT_EQ(std::make_tuple(sen.X2, sen.Lay, sen.SpareWord, sen.Padding[0] | sen.Padding[1]),
              std::make_tuple(518.0f, 17, 300, 0));
    EXPECT_EQ(std::make_tuple(enko.StartAngle, enko.EndAngle, enko.Tilt, enko.LineType,
                              enko.Padding1[0] | enko.Padding1[1] | enko.Padding2[0] | enko.Padding2[1]),
              std::make_tuple(270 * 65536, 40 * 65536, 0, 2, 0));
    EXPECT_EQ(std::make_tuple(fetched(GetMoji, 0).Flags, ten.SpareWord, fetched(GetTable, 2).Width),
              std::make_tuple(32, 7, 25));
    EXPECT_FLOAT_EQ(ten.X * (420.0f / 518), 4.2f);
    EXPECT_EQ(texts(0, 3), "AB||C");

    // Loading appends; the text counter follows what was loaded.
    JwcLoadFrom(file.ref());
    AddMoji(0, 0, 1, 0, 1, 0, 0, In("more").ref());
    JwcSaveTo(file.ref());
    JwcCreate(3, 1);
    JwcLoadFrom(file.ref());
    EXPECT_EQ(GetMojiCount(), 7);
    EXPECT_EQ(texts(5, 7), "C|more");
}

// The host's Get exports stop at index 32,767, the extension exports reach
// every record; outside the lists both give zeros and " ".
TEST_F(JwcExports, IndexesInsideAndOutsideTheLists) {
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
    for (const int32_t i : {0, 32767, 32768, kCount - 1}) {
        const auto x = static_cast<float>(static_cast<float>(i) * d / d);
        EXPECT_EQ(std::make_tuple(fetched(TavoGetSenEx, i).X1, fetched(TavoGetEnkoEx, i).StartAngle,
                                  fetched(TavoGetMojiEx, i).X1, fetched(TavoGetTenEx, i).X),
                  std::make_tuple(x, i, x, x)) << i;
        EXPECT_EQ(str(TavoGetMojiStringEx(i)), std::to_string(i));
    }
    for (const int32_t i : {-1, kCount, INT32_MAX, INT32_MIN}) {
        EXPECT_TRUE(allZero(fetched(TavoGetSenEx, i))) << i;
        EXPECT_EQ(str(TavoGetMojiStringEx(i)), " ");
    }
    EXPECT_TRUE(allZero(fetched(GetSen, -1)));
    EXPECT_EQ(str(GetMojiString(-1)), " ");
    for (int16_t r : {-1, 0, 11}) EXPECT_TRUE(allZero(fetched(GetTable, r))) << r;
    SetMojiTable(11, 9, 9, 9, 9);  // ignored
    EXPECT_EQ(lastError(), "");
}

TEST_F(JwcExports, CallsWithoutADrawingOrWithNullPointersFailAndSaySo) {
    JwcDestroy();
    AddSen(1, 2, 3, 4, 1, 1, 1, 0, 0);
    EXPECT_NE(lastError().find("no current JWC drawing"), std::string::npos);
    EXPECT_EQ(GetSenCount(), 0);
    EXPECT_TRUE(allZero(fetched(GetEnko, 0)));
    EXPECT_EQ(str(GetMojiString(0)), " ");
    const In file(dir.file("x.jwc"));
    JwcSaveTo(file.ref());
    EXPECT_NE(lastError(), "");
    EXPECT_EQ(dir.listing(), "");
    JwcLoadFrom(file.ref());
    // The message survives being read and freed, and clears on success.
    EXPECT_NE(lastError(), "");
    EXPECT_NE(lastError(), "");
    EXPECT_EQ(DrawWidth(1), 841);
    EXPECT_EQ(lastError(), "");

    // A null string at either level is the empty text.
    JwcCreate(3, 1);
    const char* nullText = nullptr;
    AddMoji(0, 0, 1, 0, 1, 0, 0, nullptr);
    AddMoji(0, 0, 1, 0, 1, 0, 0, &nullText);
    SetComment(nullptr, &nullText);
    EXPECT_EQ(lastError(), "");
    EXPECT_EQ(str(GetMojiString(1)), "");
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

TEST_F(JwcExports, AFailedLoadNamesTheFileAndKeepsWhatWasRead) {
    const In file(dir.file("plan.jwc"));
    JwcCreate(3, 1);
    AddSen(0, 0, 1, 1, 1, 1, 1, 0, 0);
    AddSen(0, 0, 2, 2, 1, 1, 1, 0, 0);
    JwcSaveTo(file.ref());
    tavo::test::writeFile(file.text, tavo::test::readFile(file.text).substr(0, 2389 + 22 + 5));
    JwcCreate(3, 1);
    JwcLoadFrom(file.ref());
    const std::string error = lastError();
    EXPECT_NE(error.find(file.text), std::string::npos) << error;
    EXPECT_NE(error.find("line record 2"), std::string::npos) << error;
    EXPECT_EQ(GetSenCount(), 1);

    JwcLoadFrom(In(dir.file("missing.jwc")).ref());
    EXPECT_NE(lastError().find(dir.file("missing.jwc")), std::string::npos);
}

TEST_F(SettingsExports, JwcCreateByInifileTakesTheStoredSettings) {
    writeIni("[Export]\r\nJwcScale=50\r\nPlotSize=1\r\n[MojiTable]\r\nMojiPitch=-5\r\n");
    JwcCreateByInifile();
    AddSen(0, 0, 841, 0, 1, 0, 1, 0, 0);
    EXPECT_EQ(fetched(GetSen, 0).X2, 518.0f);  // the unit divisor of A1
    EXPECT_EQ(static_cast<int16_t>(fetched(GetTable, 1).Spacing), -5);
    const In file(dir.file("plan.jwc"));
    JwcSaveTo(file.ref());
    EXPECT_EQ(tavo::test::readFile(file.text).substr(200, 24), "1,0,0,0,0,3,2,1,1,50,0,1");
}

TEST_F(SettingsExports, StringsDumpFlagsAndNullPointers) {
    EXPECT_EQ(str(ReadIniString(4)), (dir.path() / "").string());  // a separator added
    EXPECT_EQ(str(ReadIniString(0)), "");
    WriteIniString(3, In("C:\\out\\plan.jwc").ref());
    EXPECT_EQ(str(ReadIniString(3)), "C:\\out\\plan.jwc");

    const TavoDumpChecks flags = {0, 1, -1, 2};
    WriteIniDump(&flags);
    TavoDumpChecks back;
    ReadIniDump(&back);
    EXPECT_EQ(std::make_tuple(back.Line, back.Circle, back.String, back.Dot), std::make_tuple(0, -1, -1, -1));
    auto s = zeroed<TavoSettings>(), again = zeroed<TavoSettings>();
    ReadInifile(&s);
    s.JwcScale = 250;
    WriteInifile(&s);
    ReadInifile(&again);
    EXPECT_EQ(std::memcmp(&s, &again, sizeof s), 0);

    const std::string ini = tavo::test::readFile(dir.file("tavo.ini"));
    for (const auto& call : std::initializer_list<void (*)()>{[] { ReadInifile(nullptr); }, [] { WriteInifile(nullptr); },
                                                               [] { ReadIniDump(nullptr); }, [] { WriteIniDump(nullptr); }}) {
        call();
        EXPECT_NE(lastError(), "");
    }
    EXPECT_EQ(tavo::test::readFile(dir.file("tavo.ini")), ini);

    const char* none = nullptr;
    for (TavoStringIn value : {static_cast<TavoStringIn>(nullptr), static_cast<TavoStringIn>(&none)}) {
        WriteIniString(1, In("old").ref());
        WriteIniString(1, value);
        EXPECT_EQ(lastError(), "");
        EXPECT_EQ(str(ReadIniString(1)), "");
    }
}

TEST_F(SettingsExports, EachExportDrawingCallReachesItsFunction) {
    writeIni("[Export]\r\nJwcScale=100\r\nIsSameScale=0\r\nGroupScale=1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,100\r\n");
    ObjCreateByInifile();
    ObjCreateByInifile();  // frees the first one
    SetObjComment(In("c1").ref(), In("c2").ref());
    AddLine(10, 20, 30, 20, 2, 241, 1);
    AddCircle(0, 0, 3, 1, 0, 0, 0, 3, 0x01, 1);
    AddText(0, 0, 30, 0, 3, 0x02, In("ABC").ref());
    AddTextV(0, 0, 0, -30, 3, 0x02, In("V").ref());
    AddSolid(0, 0, 10, 5, 255, 0x03);
    EXPECT_EQ(lastError(), "");

    const In txt(dir.file("out.txt"));
    ObjSaveToTxtFile(txt.ref());
    const std::string coordinates = tavo::test::readFile(txt.text);
    for (const char* record : {"\nci ", "\"ABC\r\n", "\"V\r\n", "\nsl "})
        EXPECT_NE(coordinates.find(record), std::string::npos) << record;

    const In jwc(dir.file("out.jwc"));
    ObjSaveToJwcFile(jwc.ref());
    EXPECT_EQ(lastError(), "");
    JwcCreate(3, 1);
    JwcLoadFrom(jwc.ref());
    EXPECT_EQ(std::make_tuple(GetSenCount(), GetEnkoCount(), GetMojiCount()), std::make_tuple(1, 1, 2));
    EXPECT_FLOAT_EQ(fetched(GetSen, 0).X2, 30 / (420.0f / 518));  // group 15 at 1:100 is the sheet's millimetres
    EXPECT_EQ(tavo::test::readFile(jwc.text).substr(40, 3), std::string("c1\0", 3));

    // DXF by profile number, R2018's texts in UTF-8; the writer's failures reach the host.
    AddText(0, 0, 30, 0, 3, 0x02, In("\x8a\xbf").ref());  // 漢
    const In dxf(dir.file("plan.dxf"));
    for (const auto& [profile, version, text] : {std::tuple{-1, "AC1009", "\x8a\xbf"}, {2018, "AC1032", "\xe6\xbc\xa2"}}) {
        if (profile < 0)
            ObjSaveToDxfFile(dxf.ref());
        else
            TavoObjSaveToDxfFileEx(dxf.ref(), profile);
        EXPECT_EQ(lastError(), "");
        const std::string bytes = tavo::test::readFile(dxf.text);
        EXPECT_NE(bytes.find(std::string("$ACADVER\r\n  1\r\n") + version), std::string::npos) << profile;
        EXPECT_NE(bytes.find(std::string("\r\n  1\r\n") + text + "\r\n"), std::string::npos) << profile;
    }
    TavoObjSaveToDxfFileEx(dxf.ref(), 12);
    EXPECT_NE(lastError().find("DXF profile 12"), std::string::npos) << lastError();
    AddLine(0, 0, NAN, 0, 1, 1, 1);
    ObjSaveToDxfFile(dxf.ref());
    EXPECT_NE(lastError().find(dxf.text), std::string::npos) << lastError();
    EXPECT_NE(lastError().find("line 2"), std::string::npos) << lastError();

    ObjDestroy();
    AddLine(1, 2, 3, 4, 1, 1, 1);
    EXPECT_NE(lastError().find("no current export drawing"), std::string::npos);
    ObjCreateByInifile();
    ObjSaveToJwcFile(nullptr);
    EXPECT_NE(lastError(), "");
}

std::string clipboard() { return str(TavoGetClipboardText()); }

TEST_F(SettingsExports, JwtOfBothDrawingsGoesToTheClipboard) {
    JwcCreate(3, 100);
    AddSen(0, 0, 42, 0, 2, 17, 1, 0, 0);
    CopyToAsJwt();
    EXPECT_EQ(lastError(), "");
    EXPECT_EQ(clipboard(), ";<<JWT.Format.Text>>\r\nBEGIN\r\nL2,17,0.00,0.00,4200.00,0.00,1,2\r\nEND\r\n");

    ObjCreateByInifile();
    AddLine(10, 20, 30, 20, 2, 241, 1);
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

}  // namespace
