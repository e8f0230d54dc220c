// What the DLL takes from Windows besides files: the settings folder, the
// clipboard's formats, automation strings the host frees as its own. The
// program's main() also serves the tests that start it again as a child.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <oleauto.h>

#include <thread>

#include "platform/win32_settings_folder.h"
#include "tavo.h"
#include "test_support.h"
#include "win32_test_support.h"

namespace {

using tavo::test::TempDir;

std::string lastError() {
    const TavoString s = TavoGetLastError();
    std::string text(s, SysStringByteLen(reinterpret_cast<BSTR>(s)));
    SysFreeString(reinterpret_cast<BSTR>(s));
    return text;
}

std::string executableFolder() {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, &path[0], MAX_PATH);
    const std::string text(&path[0], n);
    return text.substr(0, text.find_last_of('\\') + 1);
}

TEST(SettingsFolder, TheHostsFolderUnlessTheUserCannotWriteThere) {
    using tavo::platform::SettingsLocationFor;
    TempDir program;
    TempDir appData;
    const std::string programFolder = program.path().string() + "\\";
    const std::string appFolder = appData.path().string() + "\\";
    EXPECT_TRUE(tavo::platform::FolderWritable(programFolder));
    EXPECT_EQ(program.listing(), "");  // the probe leaves nothing

    auto where = SettingsLocationFor(programFolder, appFolder);
    EXPECT_EQ(where.folder, programFolder);
    EXPECT_EQ(where.legacyFolder, programFolder);
    // A folder this user cannot write (here: one that cannot be made).
    const std::string closed = "Q:\\Program Files\\Host\\";
    EXPECT_FALSE(tavo::platform::FolderWritable(closed));
    where = SettingsLocationFor(closed, appFolder);
    EXPECT_EQ(where.folder, appFolder + "Tavo\\");
    EXPECT_EQ(where.legacyFolder, closed);
    // Without an application-data folder there is nowhere else to go.
    EXPECT_EQ(SettingsLocationFor(closed, "").folder, closed);

    // The exports: the executable's folder, or the override of the tests.
    tavo::test::setEnv("TAVO_SETTINGS_DIR", nullptr);
    const TavoString folder = ReadIniString(4);
    EXPECT_EQ(std::string(folder), executableFolder());
    TavoFreeString(folder);
    tavo::test::setEnv("TAVO_SETTINGS_DIR", program.path().string().c_str());
    WriteIniString(1, nullptr);
    EXPECT_EQ(program.listing(), "tavo.ini tavo.ini.lock ");
    tavo::test::setEnv("TAVO_SETTINGS_DIR", nullptr);
}

// Strings handed out are the host's own automation strings, ended by two
// NULs, to be freed either way.
TEST(SystemStrings, AreAutomationStringsTheHostFrees) {
    JwcCreate(3, 1);
    const char* sjis = "\x95\xBD\x96\xCA";
    AddMoji(0, 0, 1, 0, 1, 0, 0, &sjis);
    for (const auto& [index, expected] : {std::pair<int16_t, std::string>{0, sjis}, {1, " "}}) {
        const BSTR s = reinterpret_cast<BSTR>(GetMojiString(index));
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(SysStringByteLen(s), expected.size());
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(s), expected.size() + 2), expected + '\0' + '\0');
        if (index == 0)
            TavoFreeString(reinterpret_cast<TavoString>(s));
        else
            SysFreeString(s);
    }
    TavoFreeString(nullptr);
    EXPECT_EQ(TavoStringByteLen(nullptr), 0u);
    JwcDestroy();
}

struct ClipboardContent {
    std::string text;
    std::wstring unicode;
    LCID locale = 0;
};

ClipboardContent readClipboard() {
    ClipboardContent c;
    if (!OpenClipboard(nullptr)) return c;
    if (const HANDLE h = GetClipboardData(CF_TEXT)) {
        c.text = static_cast<const char*>(GlobalLock(h));
        GlobalUnlock(h);
    }
    if (const HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
        c.unicode = static_cast<const wchar_t*>(GlobalLock(h));
        GlobalUnlock(h);
    }
    if (const HANDLE h = GetClipboardData(CF_LOCALE)) {
        c.locale = *static_cast<const LCID*>(GlobalLock(h));
        GlobalUnlock(h);
    }
    CloseClipboard();
    return c;
}

TEST(Clipboard, JwtTextAsShiftJisUnicodeAndJapanese) {
    JwcCreate(3, 1);
    AddSen(0, 0, 420, 0, 2, 17, 1, 0, 0);
    const char* text = "\x95\xBD\x96\xCA\x90\x7D \x83\x5C";  // "平面図 ソ"
    AddMoji(0, 0, 10, 0, 3, 240, 0, &text);
    CopyToAsJwt();
    EXPECT_EQ(lastError(), "");
    // The bytes of CF_TEXT are the Linux library's (host_bytes_match_linux).
    const ClipboardContent c = readClipboard();
    EXPECT_NE(c.text.find("\"\x95\xBD\x96\xCA\x90\x7D \x83\x5C\"\r\nEND\r\n"), std::string::npos);
    EXPECT_NE(c.unicode.find(L"ST,240,0.00,0.00,0.00,3,\"\u5E73\u9762\u56F3 \u30BD\"\r\nEND\r\n"), std::wstring::npos);
    EXPECT_EQ(c.locale, LCID{0x0411});

    // Another program holds the clipboard: the copy waits a moment, then
    // says so; nothing is thrown at the host.
    HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread other([&] {
        OpenClipboard(nullptr);
        SetEvent(opened);
        WaitForSingleObject(release, INFINITE);
        CloseClipboard();
    });
    WaitForSingleObject(opened, INFINITE);
    ObjCreateByInifile();
    ObjCopyToAsJwt();
    EXPECT_NE(lastError().find("clipboard"), std::string::npos) << lastError();
    SetEvent(release);
    other.join();
    CloseHandle(opened);
    CloseHandle(release);
    EXPECT_EQ(readClipboard().text, c.text);  // the old content stays
    ObjCopyToAsJwt();
    EXPECT_EQ(readClipboard().text, ";<<JWT.Format.Text>>\r\nBEGIN\r\nEND\r\n");
    ObjDestroy();
    JwcDestroy();
}

}  // namespace

int main(int argc, char** argv) {
    // A child of Win32Files.SettingsWritersInSeveralProcessesLoseNothing.
    if (argc == 4 && std::string(argv[1]) == "--write-keys") {
        try {
            tavo::test::WriteKeys(tavo::SettingsStore(argv[2]), argv[3]);
            return 0;
        } catch (...) {
            return 1;
        }
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
