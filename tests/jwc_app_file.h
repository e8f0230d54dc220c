#pragma once
// .jwc files framed as JW_CAD itself saves them, built byte by byte from the
// framing rules (not with our writer), and checks of any file against the
// framing rules public readers apply, written from their published
// descriptions (the audit judges the values).

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

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

template <class T>
void putBytes(std::string& out, const T& data) {
    out.append(reinterpret_cast<const char*>(&data), sizeof data);
}

// A 200-byte header block: the text, a NUL, blanks, the block end.
inline std::string appLine(std::string text, char end) {
    text.resize(text.find('\0') == std::string::npos ? text.size() + 1 : text.size(), '\0');
    text.resize(199, ' ');
    return text + end;
}

inline std::string AppFramedJwc(const AppFraming& f) {
    std::string pool;
    std::vector<uint32_t> offsets;
    for (const char* t : kAppTexts) {
        offsets.push_back(static_cast<uint32_t>(pool.size()));
        pool.append(t, std::strlen(t) + 1);
    }
    std::string title = "jw_cad(c)data.......a...m...............app comment";
    if (f.floatScales) title[22] = ' ';
    title.resize(72, '\0');
    title += "\x95\xBD\x96\xCA\x90\x7D";  // comment 2
    title.resize(104, '\0');
    std::string file = appLine(title, f.blockEnd);
    std::string line1 = "2,1,4,2," + std::to_string(f.temporaryPoints) +
                        ",3,2,1,1,50,0,2,1,1,5.0,5.0,5,10,0,0,0,0,1,2,3,9,9,0,0,0,518";
    file += appLine(f.line1Fields == 32 ? line1 + ",0" : line1, f.blockEnd);
    file += appLine("0.5,0.0,3.0,15.0,1,1,0,0,0,1,0.0,0.0,0.0,0.0,0.0,0.0,0,0,0,20.000,1000.000,100.000,"
                    "200.000,300.000,500.000,0,0,1",
                    f.blockEnd);
    const unsigned start = f.poolStart, end = start + static_cast<unsigned>(pool.size());
    char pooled[24];
    std::snprintf(pooled, sizeof pooled, "%.4X:%.4X,%.4X:%.4X", start >> 16, start & 0xFFFF, end >> 16, end & 0xFFFF);
    file += appLine(pooled + std::string(",0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,36,-23.45,0,0,-1,215,0"), f.blockEnd);

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
    putBytes(file, table);
    for (int g = 0; g < 16; ++g) {
        if (f.floatScales)
            putBytes(file, g == 15 ? f.group15Scale : float(kAppScales[g]));
        else
            putBytes(file, kAppScales[g]);
    }
    JwcLayerTables tables{};
    for (int i = 0; i < 256; ++i) tables.LayerFlag[i] = tables.LayerDisplay[i] = static_cast<uint8_t>(i % 3 != 2);
    for (int g = 0; g < 16; ++g) {
        tables.GroupFlag[g] = 1;
        tables.GroupDisplay[g] = g == 3 ? 0 : 1;
        tables.GroupBaseLayer[g] = static_cast<uint8_t>(16 * g + 1);
    }
    putBytes(file, tables);
    putBytes(file, kAppSens);
    putBytes(file, kAppEnko);
    for (int i = 0; i < kAppTextCount; ++i)
        putBytes(file, Moji{0, static_cast<float>(10 * i), 40, static_cast<float>(10 * i),
                            static_cast<int32_t>(f.poolStart + offsets[static_cast<std::size_t>(i)]),
                            static_cast<uint8_t>(i + 1), 0x30, static_cast<uint16_t>(i == 2 ? 32 : 0)});
    file += pool;
    putBytes(file, kAppTens);

    JwcNames names{};
    std::memset(&names, ' ', sizeof names);
    std::memcpy(names.LayerNames[0x21], "wall    ", 8);
    std::memcpy(names.LayerNames[0xFF], "\x95\xC7      ", 8);
    std::memcpy(names.GroupNames + 16 * 2, "ground floor    ", 16);
    std::memcpy(names.GroupNames + 16 * 15, "top floor      \0", 16);
    std::string nameArea(reinterpret_cast<const char*>(&names), sizeof names);
    nameArea.resize(f.nameAreaBytes, ' ');
    return file + nameArea;
}

// Where the text records and the pool lie, as the header says, and each text
// record's reference with its text's offset in the pool.
struct TextLayout {
    long counts[4] = {};
    uint32_t poolStart = 0;
    std::size_t poolBytes = 0, pool = 0;
    std::vector<std::pair<uint32_t, std::size_t>> refs;
};

inline TextLayout TextLayoutOf(const std::string& file) {
    TextLayout l;
    long* c = l.counts;
    std::sscanf(file.substr(200, 200).c_str(), "%ld,%ld,%ld,%ld", &c[0], &c[1], &c[2], &c[3]);
    unsigned s0 = 0, o0 = 0, s1 = 0, o1 = 0;
    std::sscanf(file.substr(600, 200).c_str(), "%4X:%4X,%4X:%4X", &s0, &o0, &s1, &o1);
    l.poolStart = s0 << 16 | o0;
    l.poolBytes = (s1 << 16 | o1) - l.poolStart;
    const std::size_t texts = (file[22] == '.' ? 2389u : 2421u) + 22 * std::size_t(c[0]) + 32 * std::size_t(c[1]);
    l.pool = texts + 24 * std::size_t(c[2]);
    for (std::size_t i = 0, offset = 0; l.pool <= file.size() && i < std::size_t(c[2]); ++i) {
        uint32_t ref = 0;
        std::memcpy(&ref, &file[texts + 24 * i + 16], 4);
        l.refs.emplace_back(ref, offset);
        offset = file.find('\0', l.pool + offset) + 1 - l.pool;
    }
    return l;
}

// What a peer reader refuses in a file: block ends other than LF, header
// lines that are not printable ASCII, a size other than the counts explain,
// and text pointers other than the pool start plus the text's offset.
// Empty when the file passes.
inline std::vector<std::string> PeerFramingFaults(const std::string& file) {
    if (file.size() < 2389) return {"shorter than the header"};
    std::vector<std::string> faults;
    for (std::size_t end : {199u, 399u, 599u, 799u})
        if (file[end] != '\n') faults.push_back("byte " + std::to_string(end) + " is not LF");
    for (std::size_t line : {200u, 400u, 600u}) {
        for (std::size_t i = line; i < line + 199 && file[i] != '\0'; ++i)
            if (file[i] < 0x20 || file[i] > 0x7E) faults.push_back("byte " + std::to_string(i) + " is not printable");
    }
    const TextLayout l = TextLayoutOf(file);
    const std::size_t expected = l.pool + l.poolBytes + 12 * std::size_t(l.counts[3]) + 2304;
    if (file.size() != expected)
        return {"size " + std::to_string(file.size()) + ", the counts explain " + std::to_string(expected)};
    for (std::size_t i = 0; i < l.refs.size(); ++i)
        if (l.refs[i].second >= l.poolBytes || l.refs[i].first != l.poolStart + l.refs[i].second)
            faults.push_back("text record " + std::to_string(i + 1) + " does not point at its text");
    if (file.back() != '\0') faults.push_back("the group names do not end with a NUL");
    return faults;
}

// The rules two public readers apply to text references, for a file that
// passes PeerFramingFaults: a CAM program's reader takes each reference
// minus 0x40000000 as its text's place in the pool; another keeps only the
// low word of a reference and refuses one that is not inside the pool.
inline std::vector<std::string> TextReferenceFaults(const std::string& file) {
    const TextLayout l = TextLayoutOf(file);
    std::vector<std::string> faults;
    for (std::size_t i = 0; i < l.refs.size(); ++i) {
        const auto [ref, offset] = l.refs[i];
        if (ref - 0x40000000u != offset) faults.push_back("text " + std::to_string(i) + ": minus 0x40000000 misses it");
        if ((ref & 0xFFFF) >= l.poolBytes) faults.push_back("text " + std::to_string(i) + ": low word past the pool");
    }
    return faults;
}

}  // namespace tavo::test
