// The hyperlink label under Wine: link colours from the registry, hover,
// leave and click by mouse messages, and the mail path end to end through a
// command registered under the classes root (this program, whose main()
// writes its arguments). No test lets the shell open a web address: Wine
// would start the machine's browser.
#include "win32/ht_label.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

#include "win32/dib_surface.h"

namespace tavo::win32 {
namespace {

// A string value set for the life of the object and then put back as it
// was: the Wine prefix is the whole run's.
struct RegistryValue {
    RegistryValue(HKEY root, std::string key, const char* name, const std::string& value)
        : root(root), key(std::move(key)), name(name) {
        char was[1024];
        DWORD size = sizeof was;
        if (RegGetValueA(root, this->key.c_str(), name, RRF_RT_REG_SZ, nullptr, &was[0], &size) == ERROR_SUCCESS)
            old = &was[0];
        Set(value);
    }
    ~RegistryValue() { old ? Set(*old) : void(RegDeleteKeyValueA(root, key.c_str(), name)); }
    RegistryValue(const RegistryValue&) = delete;
    RegistryValue& operator=(const RegistryValue&) = delete;
    void Set(const std::string& v) const {
        RegSetKeyValueA(root, key.c_str(), name, REG_SZ, v.c_str(), DWORD(v.size() + 1));
    }
    HKEY root;
    std::string key;
    const char* name;
    std::optional<std::string> old;
};

// Whether the label paints in its colour, and a row of it runs under it.
std::pair<bool, bool> ColouredAndUnderlined(HtLabel& label) {
    RECT r{};
    GetClientRect(label.Handle(), &r);
    DibSurface dib;
    dib.Resize(r.right, r.bottom);
    SendMessageW(label.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dib.Dc()), PRF_CLIENT);
    const WinColor c = PlainColor(label.Label().FontColor);
    const uint32_t pixel = ((c & 0xFF) << 16) | (c & 0xFF00) | (c >> 16);
    std::pair<bool, bool> seen;
    for (int y = 0; y < dib.Height(); ++y) {
        const auto n =
            std::count(dib.Pixels() + y * dib.Width(), dib.Pixels() + (y + 1) * dib.Width(), pixel);
        seen = {seen.first || n > 0, seen.second || n > dib.Width() * 4 / 5};
    }
    return seen;
}

constexpr const char* kSettings = "Software\\Microsoft\\Internet Explorer\\Settings";

TEST(Win32HtLabel, ColoursHoverLeaveAndClickByMouseMessages) {
    const RegistryValue link(HKEY_CURRENT_USER, kSettings, "Anchor Color", "10,20,30"),
        hover(HKEY_CURRENT_USER, kSettings, "Anchor Color Hover", "200,0,0"),
        visited(HKEY_CURRENT_USER, kSettings, "Anchor Color Visited", "0,150,0"),
        underline(HKEY_CURRENT_USER, kSettings, "Use Anchor Hover Color", "yes");
    const HWND parent = CreateWindowExW(0, L"STATIC", L"about", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400,
                                        200, nullptr, nullptr, nullptr, nullptr);
    auto label = std::make_unique<HtLabel>(parent, 77, "http://tavo.example/", 10, 20, nullptr);
    std::vector<std::string> opened;
    label->Open = [&](const std::string& caption) { opened.push_back(caption); };
    EXPECT_EQ(GetDlgItem(parent, 77), label->Handle());
    RECT r{};
    GetClientRect(label->Handle(), &r);
    EXPECT_GT(r.right, 60);  // sized to its caption
    const LPARAM inside = MAKELPARAM(5, 5), outside = MAKELPARAM(r.right + 5, 5);
    SendMessageW(label->Handle(), WM_SETCURSOR, WPARAM(label->Handle()), MAKELPARAM(HTCLIENT, 0));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));

    const struct {
        UINT message;
        LPARAM at;
        WinColor colour;
        bool underlined;
    } kSteps[] = {
        {WM_NULL, 0, 0x1E140A, false},
        {WM_MOUSEMOVE, inside, 0x0000C8, true},
        {WM_MOUSELEAVE, 0, 0x1E140A, false},
        {WM_MOUSEMOVE, inside, 0x0000C8, true},
        {WM_MOUSEMOVE, outside, 0x1E140A, false},
    };
    for (const auto& s : kSteps) {
        SendMessageW(label->Handle(), s.message, 0, s.at);
        EXPECT_EQ(ColouredAndUnderlined(*label), std::make_pair(true, s.underlined)) << s.message;
        EXPECT_EQ(PlainColor(label->Label().FontColor), s.colour) << s.message;
    }
    // Pressed on the label and let go beside it: no click.
    for (const LPARAM release : {outside, inside}) {
        SendMessageW(label->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, inside);
        SendMessageW(label->Handle(), WM_LBUTTONUP, 0, release);
    }
    EXPECT_EQ(opened, std::vector<std::string>{"http://tavo.example/"});
    EXPECT_EQ(PlainColor(label->Label().FontColor), 0x009600u);
    // The dialog may go first, taking the label's window with it.
    DestroyWindow(parent);
    label.reset();
}

std::string SelfPath() {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, &self[0], MAX_PATH);
    return &self[0];
}

// What a started command wrote, once it has written it.
std::string WaitForLine(const std::string& path) {
    for (int i = 0; i < 200; ++i) {
        std::ifstream in(path, std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(in), {}};
        if (!text.empty() && text.back() == '\n') return text;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return "(not written)";
}

// Wine's classes root is the machine's classes alone (a user's classes are
// not merged in as on Windows).
TEST(Win32HtLabel, TheMailPathRunsTheRegisteredCommand) {
    const std::string key = "Software\\Classes\\mailto\\shell\\open\\command";
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, &temp[0]);
    const std::string out = std::string(&temp[0]) + "tavo_ht_label_args.txt";
    DeleteFileA(out.c_str());
    const RegistryValue command(HKEY_LOCAL_MACHINE, key, nullptr,
                                "\"" + SelfPath() + "\" --write-args \"" + out + "\" \"%1\"");
    Win32LinkShell shell;
    EXPECT_FALSE(shell.ClassesDefault("TavoTest.missing"));
    {
        // Longer than the buffer: not run cut short.
        const RegistryValue longer(HKEY_LOCAL_MACHINE, key, nullptr, std::string(300, 'x'));
        EXPECT_FALSE(shell.ClassesDefault("mailto\\shell\\open\\command"));
    }
    // Never the prefix's own mail handler.
    ASSERT_EQ(shell.ClassesDefault("mailto\\shell\\open\\command").value_or("").find(SelfPath()), 1u);
    OpenCaption("someone@tavo.example", shell);
    EXPECT_EQ(WaitForLine(out), "someone@tavo.example\n");
    DeleteFileA(out.c_str());
}

}  // namespace
}  // namespace tavo::win32

// --write-args FILE ARGS...: writes ARGS to FILE, as a registered command.
int main(int argc, char** argv) {
    if (argc >= 3 && std::string(argv[1]) == "--write-args") {
        std::string line;
        for (int i = 3; i < argc; ++i) line += (i > 3 ? " " : "") + std::string(argv[i]);
        std::ofstream(argv[2], std::ios::binary) << line + "\n";
        return 0;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
