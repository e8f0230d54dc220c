#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cmath>
#include <cstring>
#include <random>
#include <thread>
#include <tuple>

#include "base/error.h"
#include "settings/jwc_from_settings.h"
#include "settings/legacy_settings.h"
#include "settings/profile_file.h"
#include "settings/settings_convert.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "test_support.h"

namespace tavo {
namespace {

using test::TempDir;

// A record the caller filled with a marker, to see what reading leaves alone.
TSettings marked() {
    TSettings s;
    std::memset(&s, 0x77, sizeof s);
    return s;
}

template <class T, std::size_t N>
std::vector<int> values(const T (&a)[N]) {
    return std::vector<int>(a, a + N);
}

TSettings readWith(const std::string& ini, TSettings s = marked()) {
    TempDir dir;
    test::writeFile(dir.file("tavo.ini"), ini);
    SettingsStore(dir.path().string() + "/").read(s);
    return s;
}

// The factory values fill every field but the gaps, which are not the library's.
TEST(Settings, FactoryValuesFromAnEmptyFolderCreateNothing) {
    TempDir dir;
    TSettings s = marked();
    EXPECT_EQ(SettingsStore(dir.path().string() + "/").read(s), SettingsSource::Factory);
    EXPECT_EQ(s.Gap70[0] & s.Gap70[1] & s.Gap82[0] & s.Gap82[1] & s.Gap93 & s.Gap197, 0x77);
    TSettings expected = FactorySettings();
    std::memcpy(expected.Gap70, s.Gap70, 2);
    std::memcpy(expected.Gap82, s.Gap82, 2);
    expected.Gap93 = s.Gap93;
    expected.Gap197 = s.Gap197;
    EXPECT_EQ(std::memcmp(&s, &expected, kSettingsBytes), 0);
    EXPECT_EQ(dir.listing(), "");
}

TEST(Settings, ListsClampsNumbersAndBooleans) {
    TSettings s = readWith("[MojiTable]\r\nPenNo=9,0,a\r\nMojiWidth=\r\nMojiPitch=-500\r\n"
                           "MojiHeight=1,2,3,4,5,6,7,8,9,10,11,12\r\n"
                           "[Export]\r\nDimScale=5\r\nDoubleSenPitch=-1\r\nIsSameScale=2\r\nJwcScale=0x10\r\n"
                           "PlotSize=$2\r\nSenLay=300\r\nGroupScale=1,x,70000,-3\r\nBTypeIndex=9,,3,\r\n"
                           "ExchangeCaret=0\r\nExchangeSolid=abc\r\n");
    EXPECT_EQ(values(s.PenNo), (std::vector<int>{6, 1, 1, 0x77, 0x77, 0x77, 0x77, 0x77, 0x77, 0x77}));
    EXPECT_EQ(s.MojiWidth[0], 0x7777);                         // present but empty: nothing stored
    EXPECT_EQ(s.MojiPitch[0], -100);
    EXPECT_EQ(s.MojiPitch[1], 0x7777);
    EXPECT_EQ(values(s.MojiHeight), std::vector<int>(10, 10));  // the first ten, clamped
    EXPECT_EQ(s.DimScale, 3.5f);
    EXPECT_EQ(s.DoubleSenPitch, 0.0f);
    EXPECT_EQ(s.IsSameScale, -1);
    EXPECT_EQ(s.JwcScale, 16);
    EXPECT_EQ(s.PlotSize, 2);
    EXPECT_EQ(s.SenLay, 300 & 0xFF);
    EXPECT_EQ(s.GroupScale[0], 1);
    EXPECT_EQ(s.GroupScale[1], 0);
    EXPECT_EQ(s.GroupScale[2], static_cast<int16_t>(70000));
    EXPECT_EQ(s.GroupScale[3], -3);
    EXPECT_EQ(s.GroupScale[4], 0x7777);
    EXPECT_EQ(values(s.BTypeIndex)[0], 9);
    EXPECT_EQ(values(s.BTypeIndex)[1], 0);
    EXPECT_EQ(values(s.BTypeIndex)[2], 3);
    EXPECT_EQ(values(s.BTypeIndex)[3], 0x77);  // a trailing comma adds no item
    EXPECT_EQ(s.ExchangeCaret, 0);
    EXPECT_EQ(s.ExchangeSolid, 0);  // no number: the default, false

    s = readWith("[Export]\nDimScale=abc\nIsSameScale=0\nJwcScale=\nDoubleSenPitch=0.7\n");
    EXPECT_EQ(s.DimScale, 0.35f);
    EXPECT_EQ(s.IsSameScale, 0);
    EXPECT_EQ(s.JwcScale, 100);
    EXPECT_EQ(s.DoubleSenPitch, 0.7f);
}

TEST(Settings, ConvertersFollowTheirRanges) {
    EXPECT_EQ(StrToIntRange(" 12", 1, 1, 6), 6);
    EXPECT_EQ(StrToIntRange("-3", 1, 1, 6), 1);
    EXPECT_EQ(StrToIntRange("x", 99, 1, 6), 99);  // the default is not clamped
    EXPECT_EQ(StrToIntRange("$A", 0, 0, 100), 10);
    EXPECT_EQ(StrToIntRange("99999999999", 7, 0, 100), 7);
    EXPECT_EQ(StrToFloatRange("0.0001", 0.35, 0.035, 3.5), 0.035);
    EXPECT_EQ(StrToFloatRange("", 0.35, 0.035, 3.5), 0.35);
    std::vector<std::string> items;
    const auto collect = [&](std::size_t, std::string_view item) { items.emplace_back(item); };
    EXPECT_EQ(ForEachListItem(" a , b ,", 10, collect), 2u);
    EXPECT_EQ(items, (std::vector<std::string>{"a", "b"}));
    items.clear();
    EXPECT_EQ(ForEachListItem("a,b, ", 10, collect), 3u);
    EXPECT_EQ(items.back(), "");
    EXPECT_EQ(ForEachListItem("", 10, collect), 0u);
}

TEST(Settings, WritesTheFileFormsAndReadsThemBack) {
    TempDir dir;
    const SettingsStore store(dir.path().string() + "/nested/");
    TSettings s = FactorySettings();
    s.DimScale = 0.0625f;  // a tie: rounded away from zero
    s.JwcScale = -5;
    s.SenLay = 255;
    s.IsSameScale = 7;
    s.GroupScale[15] = -1;
    store.write(s);
    const std::string ini = test::readFile(store.iniPath());
    EXPECT_EQ(ini,
              "[MojiTable]\r\nPenNo=1,1,2,2,3,3,4,4,5,5\r\nMojiWidth=20,25,30,40,50,60,70,80,90,100\r\n"
              "MojiHeight=20,25,30,40,50,60,70,80,90,100\r\nMojiPitch=0,0,5,5,5,10,10,10,10,10\r\n"
              "[Export]\r\nDimScale=0.063\r\nJwcScale=-5\r\nPlotSize=3\r\nSenLay=255\r\nSenColor=1\r\n"
              "DoubleSenPitch=0.500\r\nMojiLay=240\r\nSimbolLay=242\r\nSimbolColor=3\r\nExportTarget=0\r\n"
              "PlotOffset=0\r\nIsSameScale=1\r\n"
              "GroupScale=100,100,100,100,100,100,100,100,100,100,100,100,100,100,100,-1\r\n"
              "BColorIndex=2,2,5,3,6,4,5,1,5,3,6,3,5,3,2,2,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,1,1,3,4,1,5,5,4,6,1,3,"
              "4,4,4,6,2,2,3,2,6,5,5,6,2\r\nBTypeIndex=1,2,7,5,3,1,8,8,6,4,1,1,1\r\n"
              "ExchangeCaret=0\r\nExchangeSolid=0\r\n");
    TSettings back = marked();
    EXPECT_EQ(store.read(back), SettingsSource::TavoIni);
    EXPECT_EQ(back.DimScale, 0.063f);
    EXPECT_EQ(back.IsSameScale, -1);
    EXPECT_EQ(back.GroupScale[15], -1);
    EXPECT_EQ(back.JwcScale, -5);

    // Strings and dump flags go beside the record and keep the file's other lines.
    store.writeString(1, "\x95\xBD\x96\xCA");
    store.writeString(0, "ignored");
    store.writeString(6, "ignored");
    store.writeDump(TDumpChecks{0, 1, -1, 2});
    EXPECT_EQ(store.readString(1), "\x95\xBD\x96\xCA");
    EXPECT_EQ(store.readString(0), "");
    EXPECT_EQ(store.readString(6), "");
    EXPECT_EQ(store.readString(4), dir.path().string() + "/nested/");
    EXPECT_EQ(store.readString(3), "");
    const std::string after = test::readFile(store.iniPath());
    EXPECT_NE(after.find("ExchangeSolid=0\r\nComment1=\x95\xBD\x96\xCA\r\n[Dump]\r\n"
                         "CeckLine=0\r\nCeckCircle=1\r\nCeckString=1\r\nCeckDot=1\r\n"),
              std::string::npos)
        << after;
    TDumpChecks checks{9, 9, 9, 9};
    store.readDump(checks);
    EXPECT_EQ(checks.Line, 0);
    EXPECT_EQ(checks.Dot, -1);
    TempDir empty;
    SettingsStore(empty.path().string() + "/").readDump(checks);
    EXPECT_EQ(checks.Line, -1);
}

// A new JWC drawing as the settings describe it: paper, scale, the group
// scales (all the drawing's or each its own) and the text sizes.
TEST(Settings, MakeAJwcDrawing) {
    TSettings s = FactorySettings();
    s.JwcScale = 50;
    s.PlotSize = 1;
    s.GroupScale[2] = 9;
    s.MojiPitch[0] = -5;
    std::unique_ptr<TJwcFile> d = MakeJwcFromSettings(s);
    EXPECT_EQ(std::make_tuple(d->paperSize, d->scale, d->unitDivisor), std::make_tuple(1, 50, UnitDivisorFor(1)));
    EXPECT_EQ(std::vector<int>(d->groupScaleInt, d->groupScaleInt + 16), std::vector<int>(16, 50));
    const MojiTable& t = d->head.Table;
    EXPECT_EQ((std::vector<int>{t.Pen[2], t.Width[2], t.Height[2], t.Spacing[2], static_cast<int16_t>(t.Spacing[1])}),
              (std::vector<int>{1, 25, 25, 0, -5}));
    EXPECT_EQ(t.Pen[0] + t.Width[0], 0);
    EXPECT_EQ(+d->tables.LayerDisplay[255], 1);
    s.IsSameScale = 0;
    d = MakeJwcFromSettings(s);
    EXPECT_EQ(d->groupScaleInt[2], 9);
    EXPECT_EQ(d->groupScaleInt[3], 100);
}

// Writers in two processes (two hosts, or the command beside a host) and in
// two threads at once: every write lands. (The Windows tests start their
// processes themselves.)
TEST(Settings, ConcurrentWritersLoseNothing) {
    TempDir dir;
    const SettingsStore store(dir.path().string() + "/");
    constexpr int kWrites = 60;
    const auto writeAll = [&](const std::string& prefix) {
        for (int i = 0; i < kWrites; ++i) store.writeKeys({{"Export", prefix + std::to_string(i), std::to_string(i)}});
    };
#ifdef _WIN32
    const std::vector<const char*> prefixes{"C", "D"};
#else
    const std::vector<const char*> prefixes{"A", "B", "C", "D"};
    std::vector<pid_t> children;
    for (const char* prefix : {"A", "B"}) {
        const pid_t pid = fork();
        if (pid == 0) {
            try {
                writeAll(prefix);
            } catch (...) {
                _exit(1);
            }
            _exit(0);
        }
        children.push_back(pid);
    }
#endif
    std::thread c([&] { writeAll("C"); });
    std::thread d([&] { writeAll("D"); });
    c.join();
    d.join();
#ifndef _WIN32
    for (const pid_t pid : children) {
        int status = 1;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
#endif
    const ProfileText ini = store.loadIni();
    for (const char* prefix : prefixes)
        for (int i = 0; i < kWrites; ++i)
            EXPECT_EQ(ini.read("Export", prefix + std::to_string(i), "lost"), std::to_string(i)) << prefix << i;
    EXPECT_EQ(dir.listing(), "tavo.ini tavo.ini.lock ");
}

TSettings legacy(const std::string& dat, TSettings s = marked()) {
    ReadLegacySettings(dat, s);
    return s;
}

TEST(LegacySettings, TokensKeysAndFixedFields) {
    EXPECT_EQ(values(legacy("mpen =3\r\n").PenNo), std::vector<int>(10, 3));
    EXPECT_EQ(values(legacy("MPEN =1 2 \n").PenNo), (std::vector<int>{1, 2, 1, 1, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(values(legacy("MPEN = 4  5\n").PenNo), (std::vector<int>{4, 5, 5, 5, 5, 5, 5, 5, 5, 5}));
    EXPECT_EQ(legacy("MPEN=3\n").PenNo[0], 0x77);  // "MPEN=" is not the key "MPEN "
    EXPECT_EQ(legacy("#PEN =3\nMPE\nMPEN 3\n").PenNo[0], 0x77);
    EXPECT_EQ(legacy("DSIZE=A1\n").PlotSize, 1);
    EXPECT_EQ(legacy("DSIZE=A2\n").PlotSize, 2);
    EXPECT_EQ(legacy("DSIZE=3\n").PlotSize, 1);
    TSettings s = legacy("LPROP=F 1 2 0.7\nMPROP=f 0\nSPROP=F 2 9\nSCALE=0.5 200\n");
    EXPECT_EQ(s.SenLay, 241);
    EXPECT_EQ(s.SenColor, 2);
    EXPECT_EQ(s.DoubleSenPitch, 0.7f);
    EXPECT_EQ(s.MojiLay, 240);
    EXPECT_EQ(s.SimbolLay, 242);
    EXPECT_EQ(s.SimbolColor, 6);
    EXPECT_EQ(s.DimScale, 0.5f);
    EXPECT_EQ(s.JwcScale, 200);
    // Malformed tokens: factory values, unreadable layer digits 0.
    s = legacy("SCALE=0.5.1 x\nLPROP=G 1 x 1,5\n");
    EXPECT_EQ(s.DimScale, 0.35f);
    EXPECT_EQ(s.JwcScale, 100);
    EXPECT_EQ(s.SenLay, 1);
    EXPECT_EQ(s.SenColor, 1);
    EXPECT_EQ(s.DoubleSenPitch, 0.5f);
    // The last line of a key wins; other keys keep the caller's values.
    s = legacy("BTYPE=9\nBTYPE=2 10\nBCOLR=0\n");
    EXPECT_EQ(values(s.BTypeIndex), (std::vector<int>{2, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9}));
    EXPECT_EQ(values(s.BColorIndex), std::vector<int>(56, 1));
    EXPECT_EQ(s.MojiWidth[0], 0x7777);
    // Whatever the file, the fields it never had are fixed.
    for (const std::string& dat : {std::string(), std::string("MWIDE=5000\n")}) {
        s = legacy(dat);
        EXPECT_EQ(s.ExportTarget, 0);
        EXPECT_EQ(s.PlotOffset, 0);
        EXPECT_EQ(s.IsSameScale, -1);
        EXPECT_EQ(values(s.GroupScale), std::vector<int>(16, 100));
        EXPECT_EQ(s.ExchangeCaret, 0);
        EXPECT_EQ(s.ExchangeSolid, 0);
    }
    EXPECT_EQ(legacy("MWIDE=5000\n").MojiWidth[9], 1000);
}

// A "tavo.dat" is read, never written, until the first write makes a
// "tavo.ini". Settings that moved to another folder (on Windows out of a
// program folder the user cannot write) still find the one left behind;
// one in their folder wins.
TEST(LegacySettings, IsReadOnlyAndFoundWhereTheSettingsLeftIt) {
    TempDir program;
    TempDir moved;
    const SettingsStore store(moved.path().string() + "/", program.path().string() + "/");
    TSettings s = marked();
    EXPECT_EQ(store.read(s), SettingsSource::Factory);
    test::writeFile(program.file("tavo.dat"), "MPEN =2\r\n");
    s = marked();
    EXPECT_EQ(store.read(s), SettingsSource::TavoDat);
    EXPECT_EQ(s.PenNo[9], 2);
    EXPECT_EQ(s.MojiWidth[0], 0x7777);
    EXPECT_EQ(moved.listing(), "");
    EXPECT_EQ(store.datPath(), program.path().string() + "/tavo.dat");
    test::writeFile(moved.file("tavo.dat"), "MPEN =3\r\n");
    s = marked();
    EXPECT_EQ(store.read(s), SettingsSource::TavoDat);
    EXPECT_EQ(s.PenNo[9], 3);
    store.writeString(1, "x");
    s = marked();
    EXPECT_EQ(store.read(s), SettingsSource::TavoIni);
    EXPECT_EQ(s.PenNo[9], 5);  // the .ini says nothing of pens: the factory value
    EXPECT_EQ(program.listing(), "tavo.dat ");
}

// Random files: never a crash, and the clamped fields stay in their ranges.
TEST(Settings, RandomFilesStayInRange) {
    std::mt19937 random(20261206);
    const std::string alphabet = "[]=,;$x0123456789-. \r\nPenNoMojiWidthHeightPitchExportDimScaleDoubleSen\x82\xA0";
    for (int round = 0; round < 3000; ++round) {
        std::string bytes;
        const std::size_t length = random() % 300;
        for (std::size_t i = 0; i < length; ++i)
            bytes += random() % 4 == 0 ? static_cast<char>(random() % 256) : alphabet[random() % alphabet.size()];
        if (round % 3 == 0) bytes = "[MojiTable]\nPenNo=" + bytes + "\n[Export]\nDimScale=" + bytes;

        TSettings s = readWith(bytes, FactorySettings());
        for (uint8_t pen : s.PenNo) EXPECT_TRUE(pen >= 1 && pen <= 6);
        for (int i = 0; i < 10; ++i) {
            EXPECT_TRUE(s.MojiWidth[i] >= 10 && s.MojiWidth[i] <= 1000);
            EXPECT_TRUE(s.MojiPitch[i] >= -100 && s.MojiPitch[i] <= 1000);
        }
        EXPECT_TRUE(s.DimScale >= 0.035f && s.DimScale <= 3.5f) << s.DimScale;
        EXPECT_TRUE(s.DoubleSenPitch >= 0 && s.DoubleSenPitch <= 50);
        EXPECT_TRUE(s.IsSameScale == 0 || s.IsSameScale == -1);

        TSettings d = legacy(bytes, FactorySettings());
        for (uint8_t pen : d.PenNo) EXPECT_TRUE(pen >= 1 && pen <= 6);
        for (uint8_t type : d.BTypeIndex) EXPECT_TRUE(type >= 1 && type <= 9);
        EXPECT_TRUE(d.PlotSize >= 0 && d.PlotSize <= 9);
    }
}

}  // namespace
}  // namespace tavo
