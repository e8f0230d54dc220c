// What a save promises beyond atomicity: links written through, new files'
// modes, files we may not write refused, the longest names, and no temporary
// file left behind, not even by a save that was killed.
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "base/error.h"
#include "base/file_save.h"
#include "files/posix_files.h"
#include "test_support.h"

namespace tavo {
namespace {

using test::TempDir;

void save(const std::string& path, const std::string& bytes, Backup backup = Backup::None) {
    saveFile(path, [&](ByteSink& s) { s.write(bytes); }, backup);
}

struct stat statOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st;
}

// Runs `body` in a child process, as an ordinary user when we are root, and
// tells whether it returned true.
bool inChild(const std::function<bool()>& body, uid_t asUser = 0) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (asUser != 0 && (setgid(asUser) != 0 || setuid(asUser) != 0)) _exit(2);
        _exit(body() ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class FileSave : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { platform::UseUnnamedTemporaries(GetParam()); }
    void TearDown() override { platform::UseUnnamedTemporaries(true); }
    TempDir dir;
};

INSTANTIATE_TEST_SUITE_P(Temporaries, FileSave, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Unnamed" : "Named"; });

// Keeping the old file as ".bak" and a failure at each file operation are
// the save-fault tests' matter, through the exports.
TEST_P(FileSave, AFailedSaveLeavesTheOldFileAndNoTemporary) {
    const std::string target = dir.file("out.txt");
    save(target, "old");
    // The producer fails half-way.
    EXPECT_THROW(saveFile(target,
                          [](ByteSink& s) {
                              s.write(std::string(200000, 'x'));
                              throw Error("producer failed");
                          },
                          Backup::RenameOldToBak),
                 Error);
    EXPECT_EQ(test::readFile(target), "old");

    // A folder that does not exist, one that is a file, a target that is a
    // folder: "ファイル NAME を作成できません" in Shift-JIS, as hosts show it.
    for (const std::string& bad : {dir.file("missing/out.txt"), dir.file("out.txt/x.txt"), dir.path().string()}) {
        try {
            save(bad, "x");
            ADD_FAILURE() << "no error for " << bad;
        } catch (const Error& e) {
            EXPECT_EQ(e.file(), bad);
            EXPECT_EQ(e.message().rfind("\x83t\x83@\x83" "C\x83\x8B " + bad +
                                            " \x82\xF0\x8D\xEC\x90\xAC\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1", 0),
                      0u)
                << e.message();
        }
    }
    EXPECT_THROW(readWholeFile(dir.path().string()), Error);
    EXPECT_EQ(dir.listing(), "out.txt ");
}

TEST_P(FileSave, WritesThroughSymbolicLinks) {
    std::filesystem::create_directories(dir.file("real"));
    save(dir.file("real/plan.jwc"), "old");
    // A chain of links, a relative one included.
    std::filesystem::create_symlink("real/plan.jwc", dir.file("first.jwc"));
    std::filesystem::create_symlink(dir.file("first.jwc"), dir.file("second.jwc"));
    save(dir.file("second.jwc"), "new", Backup::RenameOldToBak);
    EXPECT_EQ(test::readFile(dir.file("real/plan.jwc")), "new");
    EXPECT_EQ(test::readFile(dir.file("real/plan.bak")), "old");  // beside the file it keeps
    // A link to nothing yet makes its target; a loop is an error.
    std::filesystem::create_symlink("real/made.txt", dir.file("dangling.txt"));
    save(dir.file("dangling.txt"), "made");
    EXPECT_EQ(test::readFile(dir.file("real/made.txt")), "made");
    std::filesystem::create_symlink("loop2", dir.file("loop1"));
    std::filesystem::create_symlink("loop1", dir.file("loop2"));
    EXPECT_THROW(save(dir.file("loop1"), "x"), Error);
    for (const char* link : {"first.jwc", "second.jwc", "loop1"}) EXPECT_TRUE(std::filesystem::is_symlink(dir.file(link)));
}

// New files follow the umask; while the bytes are written, nothing another
// user can read shows. (Old files' modes and owners: the save-fault tests.)
TEST_P(FileSave, NewFilesFollowTheUmaskAndStayPrivateUntilDone) {
    const mode_t oldMask = umask(077);
    save(dir.file("private.txt"), "x");
    EXPECT_EQ(statOf(dir.file("private.txt")).st_mode & 07777, 0600u);
    umask(022);
    const std::string longest = dir.file(std::string(251, 'n') + ".jwc");  // 255 bytes
    save(longest, "x");
    EXPECT_EQ(statOf(longest).st_mode & 07777, 0644u);
    umask(oldMask);
    const std::string before = dir.listing();
    saveFile(longest, [&](ByteSink& s) {
        s.write(std::string(100000, 'y'));
        for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
            const std::string name = e.path().filename().string();
            if (before.find(name + " ") != std::string::npos) continue;
            EXPECT_FALSE(GetParam()) << "an unnamed temporary file shows as " << name;
            EXPECT_EQ(name.size(), 18u) << name;  // short, whatever the target's name
            EXPECT_EQ(statOf(e.path().string()).st_mode & 07777, 0600u);
        }
    });
    EXPECT_EQ(dir.listing(), before);
    EXPECT_EQ(test::readFile(longest).size(), 100000u);
}

// As cp and Qt's QSaveFile: a file, or a folder, we may not write is an error.
TEST_P(FileSave, RefusesFilesItMayNotWrite) {
    const uid_t nobody = geteuid() == 0 ? 65534 : 0;
    const std::string readOnly = dir.file("readonly.jwc");
    const std::string inClosed = dir.file("closed/plan.jwc");
    std::filesystem::create_directories(dir.file("closed"));
    for (const std::string& path : {readOnly, inClosed}) {
        save(path, "keep");
        ASSERT_TRUE(nobody == 0 || chown(path.c_str(), nobody, nobody) == 0);
    }
    ASSERT_TRUE(nobody == 0 || chown(dir.path().c_str(), nobody, nobody) == 0);
    ASSERT_EQ(chmod(readOnly.c_str(), 0444), 0);
    ASSERT_EQ(chmod(dir.file("closed").c_str(), 0555), 0);
    EXPECT_TRUE(inChild(
        [&] {
            for (const std::string& path : {readOnly, inClosed}) {
                try {
                    save(path, "new", Backup::RenameOldToBak);
                    return false;
                } catch (const Error& e) {
                    if (e.file() != path) return false;
                }
            }
            return true;
        },
        nobody));
    chmod(dir.file("closed").c_str(), 0755);
    EXPECT_EQ(test::readFile(readOnly) + test::readFile(inClosed), "keepkeep");
    EXPECT_EQ(dir.listing(), "closed readonly.jwc ");
}

// A save killed half-way: an unnamed temporary file goes with the process; a
// named one stays until the next save into the folder finds nobody holds it.
TEST_P(FileSave, AKilledSaveLeavesNoTemporaryBehind) {
    if (GetParam() && !platform::FolderHasUnnamedTemporaries(dir.path().string()))
        GTEST_SKIP() << "no unnamed temporary files here";
    save(dir.file("plan.jwc"), "old");
    inChild([&] {
        saveFile(dir.file("plan.jwc"), [](ByteSink& s) {
            s.write(std::string(300000, 'z'));
            std::raise(SIGKILL);
        });
        return true;
    });
    EXPECT_EQ(test::readFile(dir.file("plan.jwc")), "old");
    EXPECT_EQ(dir.listing().size(), GetParam() ? 9u : 9u + 19u) << dir.listing();

    // A temporary file some process still holds stays.
    const std::string held = dir.file(".tavo-00000000.tmp");
    test::writeFile(held, "busy");
    const int fd = open(held.c_str(), O_RDONLY);
    ASSERT_EQ(flock(fd, LOCK_EX), 0);
    save(dir.file("other.txt"), "x");
    EXPECT_EQ(dir.listing(), ".tavo-00000000.tmp other.txt plan.jwc ");
    close(fd);
    save(dir.file("other.txt"), "y");
    EXPECT_EQ(dir.listing(), "other.txt plan.jwc ");
}

}  // namespace
}  // namespace tavo
