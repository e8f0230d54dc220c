#pragma once
// .jwc files framed as JW_CAD itself saves them, built byte by byte from the
// framing rules (not with our writer), and the audit's word on a file's
// framing.

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/byte_source.h"
#include "jwc/jwc_audit.h"
#include "jwc/jwc_records.h"

namespace tavo::test {

// What varies between the application's files.
struct AppFraming {
    bool floatScales = false;   // 64-byte f32 table (byte 22 of the title not ".")
    uint32_t poolStart = 0x1A2BFFF8;  // JW_CAD saves 4000:0000; here the pool runs over into the next segment
    char blockEnd = '\n';       // last byte of each header block
    int line1Fields = 31;       // 31 or 32
    int temporaryPoints = 1;    // header line 1 field 4; the second point is the temporary one
    std::size_t nameAreaBytes = 2304;  // fewer cuts the names, more adds bytes after them
    float group15Scale = 500;   // a float table may hold scales that are not whole
};

// The drawing every fixture holds: A2 at scale 50, two lines, an arc, four
// texts (one of them Shift-JIS; JW_CAD saves no empty text), two points, named
// layers and groups.
inline const char* const kAppTexts[] = {"AB", "D", "\x95\xBD\x96\xCA", "C"};
constexpr int kAppTextCount = 4;
inline const Sen kAppSens[] = {{1.5f, 2, 300, 2, 1, 2, 0x21, 0, 0}, {-4, 0, 0, 250.25f, 2, 5, 0xF3, 7, 513}};
inline const Enko kAppEnko = {50, 60, 25, 5000, 90 * 65536, 180 * 65536, 30 * 65536, 3, 4, 0x10, 0, 0};
inline const Ten kAppTens[] = {{10, 20, 0x22, 1, 0}, {30, 40, 0x00, 2, 0}};
inline const int16_t kAppScales[16] = {1, 50, 100, 200, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 500};

inline void putBytes(std::string& out, const void* data, std::size_t n) {
    out.append(static_cast<const char*>(data), n);
}

// A 200-byte header line: the text, a NUL, blanks, the block end.
inline std::string appLine(const std::string& text, char end) {
    std::string block = text + '\0';
    block.resize(199, ' ');
    return block + end;
}

inline std::string appAddress(uint32_t address) {
    char text[16];
    std::snprintf(text, sizeof text, "%.4X:%.4X", static_cast<unsigned>(address >> 16),
                  static_cast<unsigned>(address & 0xFFFF));
    return text;
}

inline std::string AppFramedJwc(const AppFraming& f) {
    std::string pool;
    std::vector<uint32_t> offsets;
    for (const char* t : kAppTexts) {
        offsets.push_back(static_cast<uint32_t>(pool.size()));
        pool += t;
        pool += '\0';
    }

    std::string title = "jw_cad(c)data.......a...m...............";
    if (f.floatScales) title[22] = ' ';
    title += std::string("app comment\0", 12);
    title.resize(72, '\0');
    title += "\x95\xBD\x96\xCA\x90\x7D";  // comment 2
    title.resize(104, '\0');
    title.resize(199, ' ');
    std::string file = title + f.blockEnd;

    std::string line1 = "2,1," + std::to_string(kAppTextCount) + ",2," + std::to_string(f.temporaryPoints) +
                        ",3,2,1,1,50,0,2,1,1,5.0,5.0,5,10,0,0,0,0,1,2,3,9,9,0,0,0,518";
    if (f.line1Fields == 32) line1 += ",0";
    file += appLine(line1, f.blockEnd);
    file += appLine("0.5,0.0,3.0,15.0,1,1,0,0,0,1,0.0,0.0,0.0,0.0,0.0,0.0,0,0,0,20.000,1000.000,100.000,"
                    "200.000,300.000,500.000,0,0,1",
                    f.blockEnd);
    file += appLine(appAddress(f.poolStart) + "," + appAddress(f.poolStart + static_cast<uint32_t>(pool.size())) +
                        ",0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,36,-23.45,0,0,-1,215,0",
                    f.blockEnd);

    std::string reserved(909, '\0');
    reserved[0] = 7;  // something the application keeps there
    reserved[908] = 'x';
    file += reserved;
    MojiTable table{};
    for (int row = 1; row <= 10; ++row) {
        table.Pen[row] = static_cast<uint16_t>(row % 6 + 1);
        table.Width[row] = table.Height[row] = static_cast<uint16_t>(20 + 5 * row);
        table.Spacing[row] = static_cast<uint16_t>(row);
    }
    putBytes(file, &table, sizeof table);
    for (int g = 0; g < 16; ++g) {
        if (f.floatScales) {
            const float s = g == 15 ? f.group15Scale : kAppScales[g];
            putBytes(file, &s, 4);
        } else {
            putBytes(file, &kAppScales[g], 2);
        }
    }
    JwcLayerTables tables{};
    for (int i = 0; i < 256; ++i) tables.LayerFlag[i] = tables.LayerDisplay[i] = static_cast<uint8_t>(i % 3 != 2);
    for (int g = 0; g < 16; ++g) {
        tables.GroupFlag[g] = 1;
        tables.GroupDisplay[g] = g == 3 ? 0 : 1;
        tables.GroupBaseLayer[g] = static_cast<uint8_t>(16 * g + 1);
    }
    putBytes(file, &tables, sizeof tables);

    putBytes(file, kAppSens, sizeof kAppSens);
    putBytes(file, &kAppEnko, sizeof kAppEnko);
    for (int i = 0; i < kAppTextCount; ++i) {
        const Moji m{0, static_cast<float>(10 * i), 40, static_cast<float>(10 * i),
                     static_cast<int32_t>(f.poolStart + offsets[static_cast<std::size_t>(i)]),
                     static_cast<uint8_t>(i + 1), 0x30, static_cast<uint16_t>(i == 2 ? 32 : 0)};
        putBytes(file, &m, sizeof m);
    }
    file += pool;
    putBytes(file, kAppTens, sizeof kAppTens);

    JwcNames names{};
    std::memset(&names, ' ', sizeof names);
    std::memcpy(names.LayerNames[0x21], "wall    ", 8);
    std::memcpy(names.LayerNames[0xFF], "\x95\xC7\x20\x20\x20\x20\x20\x20", 8);
    std::memcpy(names.GroupNames + 16 * 2, "ground floor    ", 16);
    std::memcpy(names.GroupNames + 16 * 15, "top floor      \0", 16);
    std::string nameArea(reinterpret_cast<const char*>(&names), sizeof names);
    nameArea.resize(f.nameAreaBytes, ' ');
    return file + nameArea;
}

// The audit's findings about a file's framing (not its values), as
// "CODE: message" lines; empty when a strict reader takes the framing.
inline std::vector<std::string> FramingFindings(const std::string& file) {
    MemorySource source(file);
    std::vector<std::string> out;
    for (const AuditFinding& f : AuditJwc(source).findings)
        if (f.code <= AuditCode::PoolExtra) out.push_back(std::string(AuditCodeName(f.code)) + ": " + f.message);
    return out;
}

}  // namespace tavo::test
