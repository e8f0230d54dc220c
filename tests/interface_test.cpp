// The JWC call family through the exported functions, as a host calls them.
#include <gtest/gtest.h>

#include <cstring>

#include "tavo.h"
#include "test_support.h"

namespace {

using tavo::test::TempDir;

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
    EXPECT_EQ(bytes.substr(600, 20), "5F6D:0000,5F6D:0006,");

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
