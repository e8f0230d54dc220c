#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "settings/profile_file.h"

namespace tavo {
namespace {

using namespace std::string_literals;

struct ReadCase {
    const char* what;
    std::string file;
    std::string section;
    std::string key;
    std::string fallback;
    std::string expected;
    std::size_t bufferSize = 2048;
};

TEST(ProfileText, ReadsAsThePlatformDoes) {
    const std::string longValue(3000, 'x');
    const std::vector<ReadCase> cases = {
        {"empty file", "", "S", "k", "dflt", "dflt"},
        {"missing section", "[A]\r\nk=1\r\n", "S", "k", "dflt", "dflt"},
        {"missing key", "[S]\r\nj=1\r\n", "S", "k", "dflt", "dflt"},
        {"default loses trailing spaces only", "", "S", "k", " d\t  ", " d\t"},
        {"default of blanks", "", "S", "k", "   ", ""},

        {"blanks around key and value", "[S]\r\n  key  =  value  \r\n", "S", "key", "d", "value"},
        {"blanks inside a value", "[S]\r\nk = a  b \r\n", "S", "k", "d", "a  b"},
        {"tab VT FF and 0x1A are blanks", "[S]\r\n\t\vk\f=\t\x1A v \v\f\x1A\r\n", "S", "k", "d", "v"},
        {"other control bytes stay", "[S]\r\nk=\x01v\x1F\r\n", "S", "k", "d", "\x01v\x1F"},
        {"a control byte is part of the key", "[S]\r\n\x01k=1\r\n", "S", "k", "d", "d"},
        {"blanks around the section name", "[ \tExport ]\r\nk=1\r\n", "Export", "k", "d", "1"},
        {"blanks before the bracket", "  [S]\r\nk=1\r\n", "S", "k", "d", "1"},
        {"text after the bracket", "[S] ; note\r\nk=1\r\n", "S", "k", "d", "1"},
        {"the name ends at the last bracket", "[A]B] x\r\nk=1\r\n", "A]B", "k", "d", "1"},
        {"an unclosed bracket is a key", "[S]\r\n[x=1\r\n", "S", "[x", "d", "1"},
        {"names asked for are trimmed", "[S]\r\nk=1\r\n", " S\t", " k ", "d", "1"},
        {"empty value", "[S]\r\nk=\r\n", "S", "k", "d", ""},
        {"a second = is part of the value", "[S]\r\nk==a=b\r\n", "S", "k", "d", "=a=b"},

        {"double quotes", "[S]\r\nk= \" a \" \r\n", "S", "k", "d", " a "},
        {"single quotes", "[S]\r\nk='v'\r\n", "S", "k", "d", "v"},
        {"mismatched quotes stay", "[S]\r\nk=\"v'\r\n", "S", "k", "d", "\"v'"},
        {"a lone quote stays", "[S]\r\nk=\"\r\n", "S", "k", "d", "\""},
        {"two quotes give empty", "[S]\r\nk=''\r\n", "S", "k", "d", ""},
        {"only the outer pair goes", "[S]\r\nk=\"\"v\"\"\r\n", "S", "k", "d", "\"v\""},
        {"quotes inside stay", "[S]\r\nk=a \"b\" c\r\n", "S", "k", "d", "a \"b\" c"},
        {"a quote at one end stays", "[S]\r\nk=\"a\" b\r\n", "S", "k", "d", "\"a\" b"},
        {"keys are not unquoted", "[S]\r\n\"k\"=1\r\n", "S", "k", "d", "d"},

        {"comment line", "[S]\r\n;k=1\r\nk=2\r\n", "S", "k", "d", "2"},
        {"indented comment", "[S]\r\n \t;k=1\r\n", "S", "k", "d", "d"},
        {"semicolon inside a value", "[S]\r\nk=1 ; c\r\n", "S", "k", "d", "1 ; c"},
        {"hash starts no comment", "[S]\r\n#k=1\r\n", "S", "#k", "d", "1"},
        {"hash in a value", "[S]\r\nk=#1\r\n", "S", "k", "d", "#1"},
        {"commented section", ";[S]\r\nk=1\r\n", "S", "k", "d", "d"},

        {"first key wins", "[S]\r\nk=1\r\nK=2\r\n", "S", "k", "d", "1"},
        {"second section not searched", "[S]\r\nk=1\r\n[s]\r\nj=2\r\n", "S", "j", "d", "d"},
        {"first section of the name wins", "[S]\r\n[T]\r\nk=1\r\n[S]\r\nk=2\r\n", "s", "k", "d", "d"},
        {"section ends at the next one", "[S]\r\n[T]\r\nk=1\r\n", "S", "k", "d", "d"},

        {"LF", "[S]\nk=1\nj=2\n", "S", "j", "d", "2"},
        {"lone CR", "[S]\rk=1\rj=2", "S", "j", "d", "2"},
        {"lone CR ends the value", "[S]\rk=1\rj=2", "S", "k", "d", "1"},
        {"mixed line ends", "[S]\r\nk=1\rj=2\nl=3", "S", "l", "d", "3"},
        {"LF CR is two line ends", "[S]\n\rk=1\n\r", "S", "k", "d", "1"},

        {"section and key case", "[Export]\r\nMyKey=1\r\n", "EXPORT", "mykey", "d", "1"},
        {"value case kept", "[S]\r\nk=AbC\r\n", "S", "K", "d", "AbC"},
        {"Shift-JIS trail letters do not fold", "[\x83\x41]\r\nk=1\r\n", "\x83\x61", "k", "d", "d"},
        {"Shift-JIS section", "[\x83\x41]\r\nk=1\r\n", "\x83\x41", "K", "d", "1"},

        {"BOM skipped", "\xEF\xBB\xBF[S]\r\nk=1\r\n", "S", "k", "d", "1"},
        {"BOM only at the start", "\r\n\xEF\xBB\xBF[S]\r\nk=1\r\n", "S", "k", "d", "d"},

        {"keys before any section", "k=1\r\n[S]\r\n", "S", "k", "d", "d"},
        {"keys before any section, empty name", "k=1\r\n[S]\r\n", "", "k", "d", "d"},
        {"empty section name", "[ ]\r\nk=1\r\n", "", "k", "d", "1"},

        {"line without = is a key with no value", "[S]\r\nFlag\r\n", "S", "flag", "d", ""},
        {"line without = matches whole", "[S]\r\nFlag on\r\n", "S", "Flag", "d", "d"},
        {"empty key finds =value", "[S]\r\n =v\r\n", "S", "", "d", "v"},
        {"empty key does not find blank lines", "[S]\r\n \r\n\r\n", "S", "", "d", "d"},

        {"value cut to 2047 bytes", "[S]\r\nk=" + longValue + "\r\n", "S", "k", "d", longValue.substr(0, 2047)},
        {"2047 bytes fit", "[S]\r\nk=" + longValue.substr(0, 2047), "S", "k", "d", longValue.substr(0, 2047)},
        {"small buffer", "[S]\r\nk=abcdef\r\n", "S", "k", "d", "abc", 4},
        {"buffer of one", "[S]\r\nk=abcdef\r\n", "S", "k", "d", "", 1},
        {"no buffer", "[S]\r\nk=abcdef\r\n", "S", "k", "d", "", 0},
        {"default cut too", "", "S", "k", "abcdef  ", "abc", 4},

        {"value 0x95 0x5C", "[S]\r\nk=\x95\x5C\r\nj=2\r\n", "S", "k", "d", "\x95\x5C"},
        {"0x5C at the end continues nothing", "[S]\r\nk=\x95\x5C\r\nj=2\r\n", "S", "j", "d", "2"},
        {"trail byte 0x5D is no bracket", "[\x83\x5D]\r\nk=1\r\n", "\x83\x5D", "k", "d", "1"},
        {"trail byte 0x5B in a name", "[\x83\x5B]\r\nk=1\r\n", "\x83\x5B", "k", "d", "1"},
        {"unclosed Shift-JIS section is a key", "[S]\r\n[\x83\x5D\r\n", "S", "[\x83\x5D", "d", ""},
        {"Shift-JIS key and value", "[S]\r\n\x90\xDD\x92\xE8=\x92\x6C\r\n", "S", "\x90\xDD\x92\xE8", "d", "\x92\x6C"},
        {"lead byte before a line end", "[S]\r\nk=\x83\r\nj=2\r\n", "S", "j", "d", "2"},
        {"half-width kana", "[S]\r\n\xB1=\xB2\xB3\r\n", "S", "\xB1", "d", "\xB2\xB3"},
    };
    for (const ReadCase& c : cases) {
        const ProfileText profile(c.file);
        EXPECT_EQ(profile.read(c.section, c.key, c.fallback, c.bufferSize), c.expected) << c.what;
    }
}

struct WriteCase {
    const char* what;
    std::string before;
    std::string section;
    std::string key;
    std::string value;
    std::string after;
};

TEST(ProfileText, WritesChangingOnlyWhatItMust) {
    const std::vector<WriteCase> cases = {
        {"new file", "", "S", "k", "v", "[S]\r\nk=v\r\n"},
        {"new section after a line end", "[A]\r\na=1\r\n", "S", "k", "v", "[A]\r\na=1\r\n[S]\r\nk=v\r\n"},
        {"new section without a final line end", "[A]\r\na=1", "S", "k", "v", "[A]\r\na=1\r\n[S]\r\nk=v\r\n"},
        {"new section after LF", "[A]\na=1\n", "S", "k", "v", "[A]\na=1\n[S]\r\nk=v\r\n"},
        {"new section after a trailing blank line", "[A]\r\na=1\r\n\r\n", "S", "k", "v",
         "[A]\r\na=1\r\n\r\n[S]\r\nk=v\r\n"},
        {"new section after a BOM alone", "\xEF\xBB\xBF", "S", "k", "v", "\xEF\xBB\xBF[S]\r\nk=v\r\n"},
        {"new section names are trimmed", "", " S ", " k ", "v", "[S]\r\nk=v\r\n"},
        {"new key after the last key", "[A]\r\na=1\r\n; c\r\nb=2\r\n\r\n; about B\r\n\r\n[B]\r\nc=3\r\n", "a", "k", "v",
         "[A]\r\na=1\r\n; c\r\nb=2\r\nk=v\r\n\r\n; about B\r\n\r\n[B]\r\nc=3\r\n"},
        {"new key in an empty section", "[A]\r\n\r\n[B]\r\n", "A", "k", "v", "[A]\r\nk=v\r\n\r\n[B]\r\n"},
        {"new key after a header at the end", "[A]", "A", "k", "v", "[A]\r\nk=v\r\n"},
        {"new key after a last line without end", "[A]\r\na=1", "A", "k", "v", "[A]\r\na=1\r\nk=v\r\n"},
        {"new key goes to the first section", "[A]\r\nx=1\r\n[B]\r\n[a]\r\nk=2\r\n", "A", "k", "9",
         "[A]\r\nx=1\r\nk=9\r\n[B]\r\n[a]\r\nk=2\r\n"},
        {"keys before any section are not the section's", "k=1\r\n[A]\r\n", "A", "k", "2", "k=1\r\n[A]\r\nk=2\r\n"},
        {"existing key keeps its spelling", "; top\r\n[Export]\r\n  MyKey = old ; x\r\nother=1\r\n", "export",
         "MYKEY", "new", "; top\r\n[Export]\r\nMyKey=new\r\nother=1\r\n"},
        {"only the first key is replaced", "[A]\r\nk=1\r\nK=2\r\n", "A", "k", "9", "[A]\r\nk=9\r\nK=2\r\n"},
        {"key without = gets one", "[A]\r\nFlag\r\n", "A", "flag", "1", "[A]\r\nFlag=1\r\n"},
        {"last line keeps having no end", "[A]\r\nk=1", "A", "k", "22", "[A]\r\nk=22"},
        {"value written as given", "[A]\r\nk=1\r\n", "A", "k", "\"q\" ; [x] \x95\x5C", "[A]\r\nk=\"q\" ; [x] \x95\x5C\r\n"},
        {"empty value", "[A]\r\nk=1\r\n", "A", "k", "", "[A]\r\nk=\r\n"},
        {"lone CR replaced", "[A]\ra=1\rb=2\r", "A", "a", "5", "[A]\ra=5\rb=2\r"},
        {"lone CR new key", "[A]\ra=1\rb=2\r\r[B]\r", "A", "c", "3", "[A]\ra=1\rb=2\rc=3\r\n\r[B]\r"},
        {"lone CR new section", "[A]\ra=1\r", "B", "c", "3", "[A]\ra=1\r[B]\r\nc=3\r\n"},
        {"mixed line ends and BOM kept", "\xEF\xBB\xBF[A]\na=1\r\n\rb=2\n", "A", "a", "x",
         "\xEF\xBB\xBF[A]\na=x\r\n\rb=2\n"},
        {"Shift-JIS section name", "[\x83\x5D]\r\n", "\x83\x5D", "k", "v", "[\x83\x5D]\r\nk=v\r\n"},
        // A value (or name) never adds lines: each line break and NUL is one blank.
        {"line breaks in a value", "[A]\r\nk=1\r\n", "A", "k", std::string("a\r\n[B]\nx=1\r\r\0b", 14),
         "[A]\r\nk=a [B] x=1   b\r\n"},
        {"line breaks in a new key", "", "S\n[T]", "k\r\nj", "v", "[S [T]]\r\nk j=v\r\n"},
    };
    for (const WriteCase& c : cases) {
        ProfileText profile(c.before);
        profile.write(c.section, c.key, c.value);
        EXPECT_EQ(profile.bytes(), c.after) << c.what;
    }
}

TEST(ProfileText, ListsSectionsAndKeysAndReadsAfterWrites) {
    ProfileText profile("k=0\r\n[A]\r\na=1\r\n;c=2\r\nFlag\r\n[B]\r\n[a]\r\nz=3\r\n");
    EXPECT_EQ(profile.sectionNames(), (std::vector<std::string>{"A", "B", "a"}));
    EXPECT_EQ(profile.keyNames("a"), (std::vector<std::string>{"a", "Flag"}));
    EXPECT_TRUE(profile.keyNames("C").empty());

    // One object, written and read in turn, as the library uses it.
    profile.write("B", "b", "2");
    profile.write("A", "a", "one");
    profile.write("C", "c", "3");
    profile.write("A", "new", "4");
    EXPECT_EQ(profile.read("A", "a", ""), "one");
    EXPECT_EQ(profile.read("A", "new", ""), "4");
    EXPECT_EQ(profile.read("B", "b", ""), "2");
    EXPECT_EQ(profile.read("C", "c", ""), "3");
    EXPECT_EQ(profile.bytes(), "k=0\r\n[A]\r\na=one\r\n;c=2\r\nFlag\r\nnew=4\r\n[B]\r\nb=2\r\n[a]\r\nz=3\r\n[C]\r\nc=3\r\n");
}

// Random files built from the bytes that matter most, or from any bytes.
std::string randomFile(std::mt19937& rng) {
    static const std::vector<std::string> pieces = {
        "[", "]", "=", ";", "#", "\r", "\n", "\r\n", " ", "\t", "\"", "'", "a", "B", "k", "S",
        "\x83", "\x5D", "\x5B", "\x95\x5C", "\x1A", "\0"s, "\xEF\xBB\xBF", "[S]\r\n", "k=v\r\n"};
    std::string file;
    const std::size_t n = rng() % 60;
    const bool anyBytes = rng() % 4 == 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (anyBytes)
            file += static_cast<char>(rng() % 256);
        else
            file += pieces[rng() % pieces.size()];
    }
    return file;
}

std::string randomName(std::mt19937& rng) {
    static const std::vector<std::string> pieces = {"S", "k", "K", "x", "1", "\x83\x41", "\x83\x5D", "\x95\x5C", "#"};
    std::string name;
    for (std::size_t i = 0, n = 1 + rng() % 3; i < n; ++i) name += pieces[rng() % pieces.size()];
    return name;
}

// A value that reads back as written: no line end, no blanks at either end,
// no outer quotes.
std::string randomValue(std::mt19937& rng) {
    static const std::vector<std::string> pieces = {"v", "=", ";", "[", "]", "#", "\"", "'", " ", "\t", "\x83",
                                                    "\x95\x5C", "\x01"};
    if (rng() % 5 == 0) return "";
    std::string value = "v";
    for (std::size_t i = 0, n = rng() % 8; i < n; ++i) value += pieces[rng() % pieces.size()];
    return value + "v";
}

// A name from the file that can be written back and found again.
bool isWritableName(const std::string& name) {
    if (name.empty() || name.find_first_of("\r\n=[];"s + '\0') != std::string::npos) return false;
    const auto blank = [](char c) { return std::string_view(" \t\v\f\x1A").find(c) != std::string_view::npos; };
    if (blank(name.front()) || blank(name.back())) return false;
    // A lead byte at the end would swallow the "]" written after it.
    const auto last = static_cast<unsigned char>(name.back());
    return !((last >= 0x81 && last <= 0x9F) || (last >= 0xE0 && last <= 0xFC));
}

bool mayBeSameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

TEST(ProfileText, RandomFilesReadAndWriteBack) {
    std::mt19937 rng(20240611);
    for (int round = 0; round < 4000; ++round) {
        const std::string file = randomFile(rng);
        ProfileText profile(file);

        std::vector<std::tuple<std::string, std::string, std::string>> before;
        const std::vector<std::string> sections = profile.sectionNames();
        for (const std::string& section : sections)
            for (const std::string& key : profile.keyNames(section))
                before.emplace_back(section, key, profile.read(section, key, "\x01-"));
        profile.read(randomName(rng), randomName(rng), "d", rng() % 4);

        std::string section = randomName(rng);
        if (!sections.empty() && rng() % 4 != 0) {
            const std::string& pick = sections[rng() % sections.size()];
            if (isWritableName(pick)) section = pick;
        }
        std::string key = randomName(rng);
        const std::vector<std::string> keys = profile.keyNames(section);
        if (!keys.empty() && rng() % 4 != 0) {
            const std::string& pick = keys[rng() % keys.size()];
            if (isWritableName(pick)) key = pick;
        }
        const std::string value = randomValue(rng);

        profile.write(section, key, value);
        ASSERT_EQ(profile.read(section, key, "\x01-"), value) << "round " << round;
        for (const auto& [s, k, v] : before) {
            if (mayBeSameName(s, section) && mayBeSameName(k, key)) continue;
            ASSERT_EQ(profile.read(s, k, "\x01-"), v) << "round " << round << " section " << s << " key " << k;
        }
    }
}

}  // namespace
}  // namespace tavo
