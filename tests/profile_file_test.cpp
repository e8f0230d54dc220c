#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/profile_file.h"

namespace tavo {
namespace {

struct ReadCase {
    const char* what;
    std::string file, section, key, fallback, expected;
    std::size_t bufferSize = 2048;
};

TEST(ProfileText, ReadsAsThePlatformDoes) {
    const std::string longValue(3000, 'x');
    const std::vector<ReadCase> cases = {
        {"default loses trailing spaces only", "", "S", "k", " d\t  ", " d\t"},
        {"tab VT FF and 0x1A are blanks", "[S]\r\n\t\vk\f=\t\x1A v \v\f\x1A\r\n", "S", "k", "d", "v"},
        {"other control bytes stay", "[S]\r\nk=\x01v\x1F\r\n", "S", "k", "d", "\x01v\x1F"},
        {"blanks around the section name", "[ \tExport ] ; note\r\nk=1\r\n", "Export", "k", "d", "1"},
        {"the name ends at the last bracket", "[A]B] x\r\nk=1\r\n", "A]B", "k", "d", "1"},
        {"an unclosed bracket is a key", "[S]\r\n[x=1\r\n", "S", "[x", "d", "1"},
        {"names asked for are trimmed", "[S]\r\nk=1\r\n", " S\t", " k ", "d", "1"},
        {"a second = is part of the value", "[S]\r\nk==a=b\r\n", "S", "k", "d", "=a=b"},
        {"outer quotes go", "[S]\r\nk= \" \"a\" \" \r\n", "S", "k", "d", " \"a\" "},
        {"mismatched quotes stay", "[S]\r\nk=\"v'\r\n", "S", "k", "d", "\"v'"},
        {"comment line", "[S]\r\n \t;k=1\r\nk=2 ; c\r\n", "S", "k", "d", "2 ; c"},
        {"first section of the name wins", "[S]\r\n[T]\r\nk=1\r\n[S]\r\nk=2\r\n", "s", "k", "d", "d"},
        {"lone CR, LF CR", "[S]\rk=1\n\rj=2", "S", "j", "d", "2"},
        {"Shift-JIS trail letters do not fold", "[\x83\x41]\r\nk=1\r\n", "\x83\x61", "k", "d", "d"},
        {"BOM skipped", "\xEF\xBB\xBF[S]\r\nk=1\r\n", "S", "k", "d", "1"},
        {"BOM only at the start", "\r\n\xEF\xBB\xBF[S]\r\nk=1\r\n", "S", "k", "d", "d"},
        {"keys before any section", "k=1\r\n[S]\r\n", "", "k", "d", "d"},
        {"line without = is a key with no value", "[S]\r\nFlag\r\n", "S", "flag", "d", ""},
        {"value cut to 2047 bytes", "[S]\r\nk=" + longValue, "S", "k", "d", longValue.substr(0, 2047)},
        {"small buffer", "[S]\r\nk=abcdef\r\n", "S", "k", "d", "abc", 4},
        {"no buffer", "[S]\r\nk=abcdef\r\n", "S", "k", "d", "", 0},
        {"default cut too", "", "S", "k", "abcdef  ", "abc", 4},
        {"a Shift-JIS 0x5C trail byte", "[S]\r\nk=\x95\x5C\r\nj=2\r\n", "S", "k", "d", "\x95\x5C"},
        {"trail byte 0x5D is no bracket", "[\x83\x5D]\r\nk=1\r\n", "\x83\x5D", "k", "d", "1"},
        {"lead byte before a line end", "[S]\r\nk=\x83\r\nj=2\r\n", "S", "j", "d", "2"},
    };
    for (const ReadCase& c : cases)
        EXPECT_EQ(ProfileText(c.file).read(c.section, c.key, c.fallback, c.bufferSize), c.expected) << c.what;
}

TEST(ProfileText, WritesChangingOnlyWhatItMust) {
    const struct {
        const char* what;
        std::string before, section, key, value, after;
    } cases[] = {
        {"new file", "", " S ", " k ", "v", "[S]\r\nk=v\r\n"},
        {"new section without a final line end", "[A]\r\na=1", "S", "k", "v", "[A]\r\na=1\r\n[S]\r\nk=v\r\n"},
        {"new section after LF", "[A]\na=1\n", "S", "k", "v", "[A]\na=1\n[S]\r\nk=v\r\n"},
        {"new section after a BOM alone", "\xEF\xBB\xBF", "S", "k", "v", "\xEF\xBB\xBF[S]\r\nk=v\r\n"},
        {"new key after the last key", "[A]\r\na=1\r\n; c\r\nb=2\r\n\r\n; about B\r\n\r\n[B]\r\nc=3\r\n", "a", "k", "v",
         "[A]\r\na=1\r\n; c\r\nb=2\r\nk=v\r\n\r\n; about B\r\n\r\n[B]\r\nc=3\r\n"},
        {"new key after a header at the end", "[A]", "A", "k", "v", "[A]\r\nk=v\r\n"},
        {"new key goes to the first section", "k=1\r\n[A]\r\nx=1\r\n[a]\r\nk=2\r\n", "A", "k", "9",
         "k=1\r\n[A]\r\nx=1\r\nk=9\r\n[a]\r\nk=2\r\n"},
        {"existing key keeps its spelling", "[Export]\r\n  MyKey = old ; x\r\nMYKEY=1\r\n", "export", "mykey", "new",
         "[Export]\r\nMyKey=new\r\nMYKEY=1\r\n"},
        {"key without = gets one", "[A]\r\nFlag\r\n", "A", "flag", "1", "[A]\r\nFlag=1\r\n"},
        {"last line keeps having no end", "[A]\r\nk=1", "A", "k", "22", "[A]\r\nk=22"},
        {"lone CR new key", "[A]\ra=1\rb=2\r\r[B]\r", "A", "c", "3", "[A]\ra=1\rb=2\rc=3\r\n\r[B]\r"},
        // A value (or name) never adds lines: each line break and NUL is one blank.
        {"line breaks in a value", "[A]\r\nk=1\r\n", "A", "k", std::string("a\r\n[B]\nx=1\r\r\0b", 14),
         "[A]\r\nk=a [B] x=1   b\r\n"},
        {"line breaks in a new key", "", "S\n[T]", "k\r\nj", "v", "[S [T]]\r\nk j=v\r\n"},
    };
    for (const auto& c : cases) {
        ProfileText profile(c.before);
        profile.write(c.section, c.key, c.value);
        EXPECT_EQ(profile.bytes(), c.after) << c.what;
    }
}

TEST(ProfileText, ListsSectionsAndKeys) {
    const ProfileText profile("k=0\r\n[A]\r\na=1\r\n;c=2\r\nFlag\r\n[B]\r\n[a]\r\nz=3\r\n");
    EXPECT_EQ(profile.sectionNames(), (std::vector<std::string>{"A", "B", "a"}));
    EXPECT_EQ(profile.keyNames("a"), (std::vector<std::string>{"a", "Flag"}));
    EXPECT_TRUE(profile.keyNames("C").empty());
}

}  // namespace
}  // namespace tavo
