// Every save, failed at each of its file operations in turn: the old file
// and its ".bak" stay byte for byte, the export reports the failure, and no
// temporary file is left behind.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "base/file_save.h"
#include "tavo.h"
#include "test_support.h"

namespace {

using tavo::test::TempDir;

std::string lastError() {
    TavoString s = TavoGetLastError();
    std::string text(s, TavoStringByteLen(s));
    TavoFreeString(s);
    return text;
}

struct FolderState {
    std::string listing;
    std::string target;
    std::string bak;
};

FolderState stateOf(const TempDir& dir, const std::string& target, const std::string& bak) {
    return {dir.listing(), tavo::test::readFile(dir.file(target)), tavo::test::readFile(dir.file(bak))};
}

// Fails operation 1, 2, ... of `save` until it succeeds; returns how many
// operations the successful save took.
int walkFaults(const TempDir& dir, const std::string& target, const std::string& bak,
               const std::function<void()>& save) {
    const FolderState before = stateOf(dir, target, bak);
    for (int n = 1; n < 1000; ++n) {
        tavo::InjectFileFault(n);
        save();
        const std::string error = lastError();
        if (error.empty()) {
            tavo::InjectFileFault(0);
            return n;
        }
        const FolderState after = stateOf(dir, target, bak);
        EXPECT_NE(error.find(dir.file(target)), std::string::npos) << "operation " << n << ": " << error;
        EXPECT_EQ(after.listing, before.listing) << "operation " << n;
        EXPECT_EQ(after.target, before.target) << "operation " << n;
        EXPECT_EQ(after.bak, before.bak) << "operation " << n;
    }
    tavo::InjectFileFault(0);
    ADD_FAILURE() << "the save never succeeded";
    return 0;
}

struct In {
    explicit In(const std::string& s) : text(s), ptr(text.c_str()) {}
    std::string text;
    const char* ptr;
    TavoStringIn ref() const { return &ptr; }
};

class SaveFaults : public ::testing::Test {
protected:
    void SetUp() override { setenv("TAVO_SETTINGS_DIR", dir.path().c_str(), 1); }
    void TearDown() override {
        tavo::InjectFileFault(0);
        unsetenv("TAVO_SETTINGS_DIR");
        JwcDestroy();
        ObjDestroy();
    }
    TempDir dir;
};

TEST_F(SaveFaults, JwcFilesWithAndWithoutABackup) {
    const In file(dir.file("plan.jwc"));
    JwcCreate(3, 1);
    for (int i = 0; i < 3000; ++i) AddSen(0, 0, 1, 1, 1, 1, 1, 0, 0);  // several writes' worth
    AddMoji(0, 0, 1, 0, 1, 0, 0, In("text").ref());

    // No file yet.
    EXPECT_GT(walkFaults(dir, "plan.jwc", "plan.bak", [&] { JwcSaveTo(file.ref()); }), 3);
    const std::string first = tavo::test::readFile(file.text);

    // An old file and no ".bak": a failure must not leave a ".bak" behind.
    AddTen(1, 1, 1, 1, 0);
    walkFaults(dir, "plan.jwc", "plan.bak", [&] { JwcSaveTo(file.ref()); });
    EXPECT_EQ(tavo::test::readFile(dir.file("plan.bak")), first);

    // Both exist: the ".bak" stays, the file is replaced.
    AddTen(2, 2, 1, 1, 0);
    walkFaults(dir, "plan.jwc", "plan.bak", [&] { JwcSaveTo(file.ref()); });
    EXPECT_EQ(tavo::test::readFile(dir.file("plan.bak")), first);
    EXPECT_EQ(dir.listing(), "plan.bak plan.jwc ");
}

TEST_F(SaveFaults, ExportDrawingToJwcAndJww) {
    ObjCreateByInifile();
    for (int i = 0; i < 3000; ++i) AddLine(0, 0, 1, 1, 1, 241, 1);
    const In jwc(dir.file("sheet.jwc"));
    const In txt(dir.file("sheet.txt"));
    tavo::test::writeFile(jwc.text, "old drawing");
    tavo::test::writeFile(txt.text, "old coordinates");
    walkFaults(dir, "sheet.jwc", "sheet.bak", [&] { ObjSaveToJwcFile(jwc.ref()); });
    EXPECT_EQ(tavo::test::readFile(dir.file("sheet.bak")), "old drawing");
    std::remove(dir.file("sheet.bak").c_str());
    walkFaults(dir, "sheet.txt", "sheet.bak", [&] { ObjSaveToTxtFile(txt.ref()); });
    EXPECT_EQ(tavo::test::readFile(txt.text).substr(0, 4), "hd\r\n");
    EXPECT_EQ(dir.listing(), "sheet.jwc sheet.txt ");  // the coordinate file keeps no backup
}

TEST_F(SaveFaults, TavoIni) {
    tavo::test::writeFile(dir.file("tavo.ini"), "[Export]\r\nJwcScale=7\r\n; keep me\r\n");
    TavoSettings s;
    std::memset(&s, 0, sizeof s);
    ReadInifile(&s);
    s.JwcScale = 250;
    walkFaults(dir, "tavo.ini", "tavo.bak", [&] { WriteInifile(&s); });
    const std::string ini = tavo::test::readFile(dir.file("tavo.ini"));
    EXPECT_NE(ini.find("JwcScale=250\r\n"), std::string::npos);
    EXPECT_NE(ini.find("; keep me"), std::string::npos);
    walkFaults(dir, "tavo.ini", "tavo.bak", [&] { WriteIniString(1, In("note").ref()); });
    EXPECT_EQ(dir.listing(), "tavo.ini ");
}

}  // namespace
