// Every save, failed at each of its file operations in turn, with unnamed
// and with named temporary files: a failure is reported naming the file and
// leaves the folder as it was (files, ".bak", modes, owners, no temporary
// file); a failure the save can do without leaves the folder as a save
// without faults does.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "base/file_save.h"
#include "files/file_system.h"
#include "tavo.h"
#include "test_support.h"
#ifndef _WIN32
#include "files/posix_files.h"
#endif

namespace {

using tavo::test::FolderSnapshot;
using tavo::test::TempDir;

std::string lastError() {
    TavoString s = TavoGetLastError();
    const std::string text(s, TavoStringByteLen(s));
    return TavoFreeString(s), text;
}

struct In {
    explicit In(const std::string& s) : text(s), ptr(text.c_str()) {}
    std::string text;
    const char* ptr;
    TavoStringIn ref() const { return &ptr; }
};

// Linux saves through unnamed temporary files where it can, or named ones;
// Windows always through named ones.
void useUnnamedTemporaries([[maybe_unused]] bool use) {
#ifndef _WIN32
    tavo::platform::UseUnnamedTemporaries(use);
#endif
}

class SaveFaults : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        useUnnamedTemporaries(GetParam());
        tavo::test::setEnv("TAVO_SETTINGS_DIR", dir.path().string().c_str());
    }
    void TearDown() override {
        tavo::InjectFileFault(0);
        useUnnamedTemporaries(true);
        tavo::test::setEnv("TAVO_SETTINGS_DIR", nullptr);
        JwcDestroy();
        ObjDestroy();
    }

    // Runs `save` once without faults, then once failing each of its
    // operations, from the folder as it was. Leaves the folder as the save
    // without faults left it; returns the names of its operations.
    std::string walkFaults(const std::string& target, const std::function<void()>& save) {
        const FolderSnapshot before(dir.path());
        tavo::InjectFileFault(0);
        save();
        EXPECT_EQ(lastError(), "");
        const FolderSnapshot after(dir.path());
        const std::string log = tavo::platform::FileOperationsLog();
        int reported = 0;
        for (int n = 1, operations = tavo::FileOperationsCounted(); n <= operations; ++n) {
            before.restore();
            tavo::InjectFileFault(n);
            save();
            const std::string error = lastError();
            const std::string now = FolderSnapshot(dir.path()).describe();
            SCOPED_TRACE("operation " + std::to_string(n) + " of: " + log);
            if (error.empty()) {
                EXPECT_EQ(now, after.describe());
            } else {
                ++reported;
                EXPECT_NE(error.find(dir.file(target)), std::string::npos) << error;
                EXPECT_EQ(now, before.describe());
            }
        }
        tavo::InjectFileFault(0);
        after.restore();
        EXPECT_GT(reported, 0);
        return log;
    }

    TempDir dir;
};

#ifdef _WIN32
INSTANTIATE_TEST_SUITE_P(Temporaries, SaveFaults, ::testing::Values(false),
#else
INSTANTIATE_TEST_SUITE_P(Temporaries, SaveFaults, ::testing::Values(true, false),
#endif
                         [](const auto& info) { return info.param ? "Unnamed" : "Named"; });

TEST_P(SaveFaults, JwcFilesWithAndWithoutABackup) {
    const In file(dir.file("plan.jwc"));
    JwcCreate(3, 1);
    for (int i = 0; i < 6000; ++i) AddSen(0, 0, 1, 1, 1, 1, 1, 0, 0);  // several writes' worth
    AddMoji(0, 0, 1, 0, 1, 0, 0, In("text").ref());

    // No file yet.
    walkFaults("plan.jwc", [&] { JwcSaveTo(file.ref()); });
    const std::string first = tavo::test::readFile(file.text);

    // An old file, private but executable and (when we may) of another
    // owner, without a ".bak"; on Windows a hidden one.
#ifdef _WIN32
    ASSERT_TRUE(SetFileAttributesA(file.text.c_str(), FILE_ATTRIBUTE_HIDDEN));
#else
    ASSERT_EQ(chmod(file.text.c_str(), 0750), 0);
    if (geteuid() == 0) {
        ASSERT_EQ(chown(file.text.c_str(), 4321, 4322), 0);
    }
#endif
    AddTen(1, 1, 1, 1, 0);
    const std::string log = walkFaults("plan.jwc", [&] { JwcSaveTo(file.ref()); });
    EXPECT_EQ(tavo::test::readFile(dir.file("plan.bak")), first);
    // The bytes are on the disk before the ".bak" is linked and the file
    // takes the target's place, and the folder after (on Windows the rename
    // is written through).
    const std::size_t sync = log.find("sync ");
    EXPECT_TRUE(sync < log.find(" link") && log.find(" link") < log.rfind(" rename")) << log;
#ifdef _WIN32
    EXPECT_EQ(log.substr(log.rfind(" rename")), " rename") << log;
#else
    EXPECT_EQ(log.substr(log.rfind(" rename")), " rename sync-folder") << log;
#endif

    // Both exist: the ".bak" stays, the file is replaced.
    AddTen(2, 2, 1, 1, 0);
    walkFaults("plan.jwc", [&] { JwcSaveTo(file.ref()); });
    EXPECT_EQ(tavo::test::readFile(dir.file("plan.bak")), first);
    EXPECT_EQ(dir.listing(), "plan.bak plan.jwc ");
#ifdef _WIN32
    EXPECT_TRUE(GetFileAttributesA(file.text.c_str()) & FILE_ATTRIBUTE_HIDDEN);
#else
    struct stat st {};
    ASSERT_EQ(stat(file.text.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0750u);
    if (geteuid() == 0) {
        EXPECT_EQ(std::to_string(st.st_uid) + ":" + std::to_string(st.st_gid), "4321:4322");
    }
#endif
}

TEST_P(SaveFaults, ExportDrawingToJwcJwwAndDxf) {
    ObjCreateByInifile();
    for (int i = 0; i < 3000; ++i) AddLine(0, 0, 1, 1, 1, 241, 1);
    const In jwc(dir.file("sheet.jwc"));
    const In txt(dir.file("sheet.txt"));
    tavo::test::writeFile(jwc.text, "old drawing");
    tavo::test::writeFile(txt.text, "old coordinates");
    walkFaults("sheet.jwc", [&] { ObjSaveToJwcFile(jwc.ref()); });
    EXPECT_EQ(tavo::test::readFile(dir.file("sheet.bak")), "old drawing");
    std::remove(dir.file("sheet.bak").c_str());
    walkFaults("sheet.txt", [&] { ObjSaveToTxtFile(txt.ref()); });
    EXPECT_EQ(tavo::test::readFile(txt.text).substr(0, 4), "hd\r\n");
    EXPECT_EQ(dir.listing(), "sheet.jwc sheet.txt ");  // the coordinate file keeps no backup
    const In dxf(dir.file("plan.dxf"));
    tavo::test::writeFile(dxf.text, "old dxf");
    walkFaults("plan.dxf", [&] { TavoObjSaveToDxfFileEx(dxf.ref(), 2018); });
    EXPECT_EQ(tavo::test::readFile(dir.file("plan.bak")), "old dxf");
}

// The settings file's content is the settings tests' matter; here its lock.
TEST_P(SaveFaults, TavoIniUnderItsLock) {
    tavo::test::writeFile(dir.file("tavo.ini"), "[Export]\r\nJwcScale=7\r\n");
    tavo::test::writeFile(dir.file("tavo.ini.lock"), "");  // left by any earlier write, failed ones too
    TavoSettings s;
    std::memset(&s, 0, sizeof s);
    ReadInifile(&s);
    s.JwcScale = 250;
    const std::string log = walkFaults("tavo.ini", [&] { WriteInifile(&s); });
    EXPECT_EQ(log.rfind("mkdir lock create ", 0), 0u) << log;
    walkFaults("tavo.ini", [&] { WriteIniString(1, In("note").ref()); });
    EXPECT_EQ(dir.listing(), "tavo.ini tavo.ini.lock ");
}

}  // namespace
