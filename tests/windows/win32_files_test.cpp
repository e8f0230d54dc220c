// Saves on Windows: names in the system's code page (932 here, as on the
// Japanese systems the library was made for), names the ANSI functions
// cannot take, files we may not or cannot change, attributes, temporary
// files left by killed saves, and the settings lock between processes.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <thread>

#include "base/error.h"
#include "base/file_save.h"
#include "files/file_system.h"
#include "settings/profile_file.h"
#include "settings/settings_store.h"
#include "test_support.h"
#include "win32_test_support.h"

namespace tavo {
namespace {

using test::TempDir;

void save(const std::string& path, const std::string& bytes, Backup backup = Backup::None) {
    saveFile(path, [&](ByteSink& s) { s.write(bytes); }, backup);
}

// A name in the code page inside a folder: std::filesystem would take the
// bytes as UTF-8.
std::string in(const TempDir& dir, const std::string& name) { return dir.path().string() + "\\" + name; }

// A file's bytes by its name in characters.
std::string readWide(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(Win32Files, NamesInTheCodePageWithTrailBytesLikeSeparators) {
    ASSERT_EQ(GetACP(), 932u) << "the tests run with code page 932";
    TempDir dir;
    // Folder "図面", file "ソ表.jwc": the second bytes of ソ and 表 are "\".
    const std::string folder = in(dir, "\x90\x7D\x96\xCA");
    const std::string target = folder + "\\\x83\x5C\x95\x5C.jwc";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    save(target, "one", Backup::RenameOldToBak);
    save(target, "two", Backup::RenameOldToBak);
    const std::filesystem::path wide = dir.path() / L"\u56F3\u9762";
    EXPECT_EQ(readWide(wide / L"\u30BD\u8868.jwc"), "two");
    EXPECT_EQ(readWide(wide / L"\u30BD\u8868.bak"), "one");
    EXPECT_EQ(readWholeFile(target), "two");
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(wide)) ++entries;
    EXPECT_EQ(entries, 2u);  // no temporary file
}

// Refused before the system sees them, with the file's name and a reason a
// person can act on; nothing is made.
TEST(Win32Files, NamesTheAnsiFunctionsCannotTake) {
    TempDir dir;
    const struct {
        std::string name;
        const char* reason;
    } cases[] = {
        {in(dir, "plan\x81\x20.jwc"), "not valid text in the system's code page 932"},
        {in(dir, "plan\x81"), "not valid text in the system's code page 932"},
        {dir.file(std::string(260, 'n') + ".jwc"), "the system's file functions take"},
        {dir.file(std::string(300, 'x')), "characters, more than the 259"},
    };
    for (const auto& c : cases) {
        try {
            save(c.name, "x");
            ADD_FAILURE() << "no error for " << c.name;
        } catch (const Error& e) {
            EXPECT_EQ(e.file(), c.name);
            EXPECT_NE(e.message().find(c.name), std::string::npos);
            EXPECT_NE(e.message().find(c.reason), std::string::npos) << e.message();
        }
        try {
            readWholeFile(c.name);
            ADD_FAILURE() << "no error for " << c.name;
        } catch (const Error& e) {
            EXPECT_NE(e.message().find(c.reason), std::string::npos) << e.message();
        }
    }
    // Counted in characters, not bytes: 80 double-byte characters fit
    // beside the folder (as many as a Linux file name holds in UTF-8).
    std::string kanji;
    for (int i = 0; i < 80; ++i) kanji += "\x90\x7D";
    save(in(dir, kanji + ".jwc"), "fits");
    EXPECT_EQ(readWholeFile(in(dir, kanji + ".jwc")), "fits");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(Win32Files, FilesWeMayNotOrCannotChangeStayAsTheyAre) {
    TempDir dir;
    const std::string readOnly = dir.file("readonly.jwc");
    save(readOnly, "keep");
    ASSERT_TRUE(SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_THROW(save(readOnly, "new", Backup::RenameOldToBak), Error);
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(readWholeFile(readOnly), "keep");

    // Held by another program that shares nothing, or reading only.
    const std::string held = dir.file("held.jwc");
    save(held, "keep");
    for (const DWORD share : {DWORD{0}, DWORD{FILE_SHARE_READ}}) {
        const HANDLE h = CreateFileA(held.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        try {
            save(held, "new", Backup::RenameOldToBak);
            ADD_FAILURE() << "no error with sharing " << share;
        } catch (const Error& e) {
            EXPECT_EQ(e.file(), held);
        }
        CloseHandle(h);
        EXPECT_EQ(readWholeFile(held), "keep");
    }
    EXPECT_EQ(dir.listing(), "held.jwc readonly.jwc ");

    // A hidden or system file stays one.
    const std::string hidden = dir.file("hidden.txt");
    save(hidden, "old");
    ASSERT_TRUE(SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    save(hidden, "new");
    EXPECT_EQ(GetFileAttributesA(hidden.c_str()) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM),
              DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM});
    EXPECT_EQ(readWholeFile(hidden), "new");
}

// A killed save leaves its temporary file; the next save into the folder
// removes it unless a save still holds it.
TEST(Win32Files, TemporaryFilesOfKilledSavesGo) {
    TempDir dir;
    test::writeFile(dir.file(".tavo-killed00.tmp"), "left");
    const std::string busy = dir.file(".tavo-running0.tmp");
    const HANDLE h = CreateFileA(busy.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    test::writeFile(dir.file(".tavo-other.tmp.txt"), "not ours");
    save(dir.file("plan.jwc"), "x");
    EXPECT_EQ(dir.listing(), ".tavo-other.tmp.txt .tavo-running0.tmp plan.jwc ");
    CloseHandle(h);
}

// The ".bak" of a file renamed the way MoveFileA does: never over an
// existing ".bak"; also where hard links are not possible.
TEST(Win32Files, BackupNeverReplacesAnOlderOne) {
    TempDir dir;
    const std::string target = dir.file("plan.jwc");
    save(target, "one");
    test::writeFile(dir.file("plan.bak"), "older");
    save(target, "two", Backup::RenameOldToBak);
    EXPECT_EQ(test::readFile(dir.file("plan.bak")), "older");
    EXPECT_EQ(readWholeFile(target), "two");
    EXPECT_FALSE(platform::Files().rename(target, dir.file("plan.bak")).ok());
    EXPECT_TRUE(platform::Files().rename(target, dir.file("moved.jwc")).ok());
}

// Two hosts (processes) and two threads write "tavo.ini" at once: every
// write lands, under the lock on "tavo.ini.lock".
TEST(Win32Files, SettingsWritersInSeveralProcessesLoseNothing) {
    TempDir dir;
    const std::string folder = dir.path().string() + "\\";
    std::vector<HANDLE> children;
    for (const char* prefix : {"A", "B"}) children.push_back(test::StartSelf("--write-keys " + folder + " " + prefix));
    const SettingsStore store(folder);
    std::thread c([&] { test::WriteKeys(store, "C"); });
    std::thread d([&] { test::WriteKeys(store, "D"); });
    c.join();
    d.join();
    for (const HANDLE child : children) EXPECT_EQ(test::ExitCodeOf(child), 0u);
    const ProfileText ini = store.loadIni();
    for (const char* prefix : {"A", "B", "C", "D"})
        for (int i = 0; i < test::kKeyWrites; ++i)
            EXPECT_EQ(ini.read("Export", prefix + std::to_string(i), "lost"), std::to_string(i)) << prefix << i;
    EXPECT_EQ(dir.listing(), "tavo.ini tavo.ini.lock ");
}

}  // namespace
}  // namespace tavo
