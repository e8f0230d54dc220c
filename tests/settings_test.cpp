#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "settings/jwc_from_settings.h"
#include "settings/legacy_settings.h"
#include "settings/profile_file.h"
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

// Equal records but for the gaps, which are not the library's.
void expectSameFields(TSettings a, const TSettings& b) {
    std::memcpy(a.Gap70, b.Gap70, 2);
    std::memcpy(a.Gap82, b.Gap82, 2);
    a.Gap93 = b.Gap93;
    a.Gap197 = b.Gap197;
    EXPECT_EQ(std::memcmp(&a, &b, kSettingsBytes), 0);
}

TSettings readWith(const std::string& ini, TSettings s = marked()) {
    TempDir dir;
    test::writeFile(dir.file("tavo.ini"), ini);
    SettingsStore(dir.path().string() + "/").read(s);
    return s;
}

TEST(Settings, FactoryValuesFromAnEmptyFolderCreateNothing) {
    TempDir dir;
    TSettings s = marked();
    EXPECT_EQ(SettingsStore(dir.path().string() + "/").read(s), SettingsSource::Factory);
    EXPECT_EQ(s.Gap70[0] & s.Gap70[1] & s.Gap82[0] & s.Gap82[1] & s.Gap93 & s.Gap197, 0x77);
    expectSameFields(FactorySettings(), s);
    EXPECT_EQ(dir.listing(), "");
}

TEST(Settings, ListsClampsNumbersAndBooleans) {
    TSettings s = readWith("[MojiTable]\r\nPenNo=9,0,a\r\nMojiWidth=\r\nMojiPitch=-500\r\n"
                           "MojiHeight=1,2,3,4,5,6,7,8,9,10,11,12\r\n"
                           "[Export]\r\nDimScale=5\r\nDoubleSenPitch=-1\r\nIsSameScale=2\r\nJwcScale=0x10\r\n"
                           "PlotSize=$2\r\nSenLay=300\r\nGroupScale=1,x,70000,-3\r\nBTypeIndex=9,,3,\r\n"
                           "ExchangeCaret=0\r\nExchangeSolid=abc\r\n");
    EXPECT_EQ(values(s.PenNo), (std::vector<int>{6, 1, 1, 0x77, 0x77, 0x77, 0x77, 0x77, 0x77, 0x77}));
    EXPECT_EQ(s.MojiWidth[0], 0x7777);  // present but empty: nothing stored
    EXPECT_EQ((std::vector<int>{s.MojiPitch[0], s.MojiPitch[1]}), (std::vector<int>{-100, 0x7777}));
    EXPECT_EQ(values(s.MojiHeight), std::vector<int>(10, 10));  // the first ten, clamped
    EXPECT_EQ((std::vector<double>{s.DimScale, s.DoubleSenPitch}), (std::vector<double>{3.5f, 0}));
    EXPECT_EQ((std::vector<int>{s.IsSameScale, s.JwcScale, s.PlotSize, s.SenLay}), (std::vector<int>{-1, 16, 2, 300 & 0xFF}));
    EXPECT_EQ(std::vector<int>(s.GroupScale, s.GroupScale + 5), (std::vector<int>{1, 0, 4464, -3, 0x7777}));
    EXPECT_EQ(std::vector<int>(s.BTypeIndex, s.BTypeIndex + 4), (std::vector<int>{9, 0, 3, 0x77}));  // no item after a trailing comma
    EXPECT_EQ(s.ExchangeCaret + s.ExchangeSolid, 0);  // no number: the default, false

    s = readWith("[Export]\nDimScale=abc\nIsSameScale=0\nJwcScale=\nDoubleSenPitch=0.7\nPlotSize=99999999999\n"
                 "[MojiTable]\nMojiWidth=99999999999\n");
    EXPECT_EQ((std::vector<double>{s.DimScale, s.DoubleSenPitch}), (std::vector<double>{0.35f, 0.7f}));
    EXPECT_EQ((std::vector<int>{s.IsSameScale, s.JwcScale, s.PlotSize}), (std::vector<int>{0, 100, 3}));  // no number: the default
    EXPECT_EQ(s.MojiWidth[0], 30);  // not the highest: no number either
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
    s.BColorIndex[55] = 9;
    s.ExchangeSolid = -1;
    store.write(s);
    const std::string ini = test::readFile(store.iniPath());
    for (const char* line : {"[MojiTable]\r\nPenNo=1,1,2,2,3,3,4,4,5,5\r\n", "\r\n[Export]\r\nDimScale=0.063\r\nJwcScale=-5\r\n",
                             "\r\nDoubleSenPitch=0.500\r\n", "\r\nIsSameScale=1\r\n", ",100,-1\r\n", "\r\nExchangeSolid=1\r\n"})
        EXPECT_NE(ini.find(line), std::string::npos) << line << " in " << ini;
    TSettings back = marked();
    EXPECT_EQ(store.read(back), SettingsSource::TavoIni);
    s.DimScale = 0.063f;
    s.IsSameScale = -1;
    expectSameFields(s, back);

    // Strings and dump flags go beside the record and keep the file's other lines.
    store.writeString(1, "\x95\xBD\x96\xCA");
    store.writeString(6, "ignored");
    store.writeDump(TDumpChecks{0, 1, -1, 2});
    EXPECT_EQ(test::readFile(store.iniPath()), ini + "Comment1=\x95\xBD\x96\xCA\r\n[Dump]\r\n"
                                                     "CeckLine=0\r\nCeckCircle=1\r\nCeckString=1\r\nCeckDot=1\r\n");
    TDumpChecks checks{9, 9, 9, 9};
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
    std::unique_ptr<TJwcFile> d = MakeJwcFromSettings(s);
    const MojiTable& t = d->head.Table;
    EXPECT_EQ((std::vector<int>{d->paperSize, d->scale, d->groupScaleInt[2], d->tables.LayerDisplay[255], t.Pen[2],
                                t.Width[2], t.Height[2], t.Pen[0] + t.Width[0]}),
              (std::vector<int>{1, 50, 50, 1, 1, 25, 25, 0}));
    s.IsSameScale = 0;
    d = MakeJwcFromSettings(s);
    EXPECT_EQ((std::vector<int>{d->groupScaleInt[2], d->groupScaleInt[3]}), (std::vector<int>{9, 100}));
}

// Writers at once (threads here: the lock is the file's, so processes are
// held off alike): every write lands.
TEST(Settings, ConcurrentWritersLoseNothing) {
    TempDir dir;
    const SettingsStore store(dir.path().string() + "/");
    constexpr int kWrites = 60;
    const auto writeAll = [&](const std::string& prefix) {
        for (int i = 0; i < kWrites; ++i) store.writeKeys({{"Export", prefix + std::to_string(i), std::to_string(i)}});
    };
    std::thread c([&] { writeAll("C"); });
    std::thread d([&] { writeAll("D"); });
    writeAll("E");
    c.join();
    d.join();
    const ProfileText ini = store.loadIni();
    for (const char* prefix : {"C", "D", "E"})
        for (int i = 0; i < kWrites; ++i)
            EXPECT_EQ(ini.read("Export", prefix + std::to_string(i), "lost"), std::to_string(i)) << prefix << i;
    EXPECT_EQ(dir.listing(), "tavo.ini tavo.ini.lock ");
}

TSettings legacy(const std::string& dat, TSettings s = marked()) {
    ReadLegacySettings(dat, s);
    return s;
}

TEST(LegacySettings, TokensKeysAndFixedFields) {
    const struct {
        const char* dat;
        std::vector<int> pens;
    } pens[] = {{"mpen =3\r\n", std::vector<int>(10, 3)},
                {"MPEN = 4  5\n", {4, 5, 5, 5, 5, 5, 5, 5, 5, 5}},
                {"MPEN=3\n#PEN =3\nMPE\nMPEN 3\n", std::vector<int>(10, 0x77)}};  // "MPEN=" is not the key "MPEN "
    for (const auto& p : pens) EXPECT_EQ(values(legacy(p.dat).PenNo), p.pens) << p.dat;
    EXPECT_EQ((std::vector<int>{legacy("DSIZE=A2\n").PlotSize, legacy("DSIZE=3\n").PlotSize}), (std::vector<int>{2, 1}));
    TSettings s = legacy("LPROP=F 1 2 0.7\nMPROP=f 0\nSPROP=F 2 9\nSCALE=0.5 200\n");
    EXPECT_EQ((std::vector<int>{s.SenLay, s.SenColor, s.MojiLay, s.SimbolLay, s.SimbolColor, s.JwcScale}),
              (std::vector<int>{241, 2, 240, 242, 6, 200}));
    EXPECT_EQ((std::vector<double>{s.DoubleSenPitch, s.DimScale}), (std::vector<double>{0.7f, 0.5f}));
    // Malformed tokens: factory values, unreadable layer digits 0.
    s = legacy("SCALE=0.5.1 x\nLPROP=G 1 x 1,5\n");
    EXPECT_EQ((std::vector<int>{s.JwcScale, s.SenLay, s.SenColor}), (std::vector<int>{100, 1, 1}));
    EXPECT_EQ((std::vector<double>{s.DoubleSenPitch, s.DimScale}), (std::vector<double>{0.5f, 0.35f}));
    // The last line of a key wins; other keys keep the caller's values, but
    // for the fields the file never had, which are fixed.
    s = legacy("BTYPE=9\nBTYPE=2 10\nBCOLR=0\nMWIDE=5000\n");
    EXPECT_EQ(values(s.BTypeIndex), (std::vector<int>{2, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9}));
    EXPECT_EQ(values(s.BColorIndex), std::vector<int>(56, 1));
    EXPECT_EQ((std::vector<int>{s.MojiWidth[9], s.MojiHeight[0]}), (std::vector<int>{1000, 0x7777}));
    EXPECT_EQ((std::vector<int>{s.ExportTarget, s.PlotOffset, s.IsSameScale, s.ExchangeCaret, s.ExchangeSolid}),
              (std::vector<int>{0, 0, -1, 0, 0}));
    EXPECT_EQ(values(s.GroupScale), std::vector<int>(16, 100));
}

// A "tavo.dat" is read, never written, until the first write makes a
// "tavo.ini". Settings that moved to another folder (on Windows out of a
// program folder the user cannot write) still find the one left behind;
// one in their folder wins.
TEST(LegacySettings, IsReadOnlyAndFoundWhereTheSettingsLeftIt) {
    TempDir program;
    TempDir moved;
    const SettingsStore store(moved.path().string() + "/", program.path().string() + "/");
    const auto read = [&](SettingsSource source) {
        TSettings s = marked();
        EXPECT_EQ(store.read(s), source);
        return s;
    };
    read(SettingsSource::Factory);
    test::writeFile(program.file("tavo.dat"), "MPEN =2\r\n");
    TSettings s = read(SettingsSource::TavoDat);
    EXPECT_EQ((std::vector<int>{s.PenNo[9], s.MojiWidth[0]}), (std::vector<int>{2, 0x7777}));
    EXPECT_EQ(moved.listing(), "");
    EXPECT_EQ(store.datPath(), program.path().string() + "/tavo.dat");
    test::writeFile(moved.file("tavo.dat"), "MPEN =3\r\n");
    EXPECT_EQ(read(SettingsSource::TavoDat).PenNo[9], 3);
    store.writeString(1, "x");
    EXPECT_EQ(read(SettingsSource::TavoIni).PenNo[9], 5);  // the .ini says nothing of pens: the factory value
    EXPECT_EQ(program.listing(), "tavo.dat ");
}

}  // namespace
}  // namespace tavo
