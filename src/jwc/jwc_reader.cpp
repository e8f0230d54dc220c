#include "jwc/jwc_reader.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/geometry.h"
#include "jwc/jwc_file.h"
#include "jwc/jwc_header.h"

namespace tavo {

namespace {

// Reads `count` records; `adjust(T* first, std::size_t n)` sees each run
// just read.
template <class T, class Adjust>
void readRecords(RecordList<T>& list, int32_t count, const char* kind, CheckedReader& in, Adjust adjust) {
    if (count <= 0) return;
    const uint64_t available = in.remaining() / sizeof(T);
    const std::size_t want = static_cast<std::size_t>(std::min<uint64_t>(static_cast<uint64_t>(count), available));
    const std::size_t got = list.appendBulk(want, [&](T* first, std::size_t n) {
        const std::size_t read = in.readRecords(first, n, sizeof(T));
        adjust(first, read);
        return read;
    });
    if (got < static_cast<std::size_t>(count)) {
        const uint64_t partial = in.remaining() % sizeof(T);
        in.failShort(sizeof(T) - partial, std::string(kind) + " record " + std::to_string(got + 1) + " of " +
                                              std::to_string(count));
    }
}

template <class T>
void readRecords(RecordList<T>& list, int32_t count, const char* kind, CheckedReader& in) {
    readRecords(list, count, kind, in, [](T*, std::size_t) {});
}

// The application points each text record at its text: the pool start plus
// the text's offset in the pool. The drawing holds the offset. Files written
// here before hold the offset already, which lies outside the pool's
// addresses, and a pointer that misses the pool is kept as it is.
void readTextRecords(TJwcFile& d, int32_t count, const TextPool& pool, CheckedReader& in) {
    readRecords(d.mojis(), count, "text", in, [&](Moji* first, std::size_t n) {
        // NOLINTBEGIN(cppcoreguidelines-pro-bounds-pointer-arithmetic): the n records just read
        for (Moji* m = first; m != first + n; ++m) {
            const uint32_t offset = static_cast<uint32_t>(m->TextOffset) - static_cast<uint32_t>(pool.start);
            if (pool.length >= 0 && offset <= static_cast<uint64_t>(pool.length))
                m->TextOffset = static_cast<int32_t>(offset);
        }
        // NOLINTEND(cppcoreguidelines-pro-bounds-pointer-arithmetic)
    });
}

void readTextArea(TJwcFile& d, int64_t length, CheckedReader& in) {
    if (length < 0) in.fail("header line 3 declares a text area of " + std::to_string(length) + " bytes");
    if (static_cast<uint64_t>(length) > in.remaining())
        in.failShort(static_cast<uint64_t>(length) - in.remaining(),
                     "the text area of " + std::to_string(length) + " bytes");
    std::vector<char> area(static_cast<std::size_t>(length));
    in.readExact(area.data(), area.size(), "the text area");
    d.appendTextArea(std::string_view(area.data(), area.size()));
}

// The float form is the application's; its scales also fill the integer
// table, the one a save writes, so that a loaded file saved again keeps them.
void readGroupScales(TJwcFile& d, CheckedReader& in) {
    if (d.oldFormat) {
        in.readExact(&d.groupScaleInt[0], sizeof d.groupScaleInt, "the group scale table");
        std::copy(std::begin(d.groupScaleInt), std::end(d.groupScaleInt), std::begin(d.groupScaleFloat));
        return;
    }
    in.readExact(&d.groupScaleFloat[0], sizeof d.groupScaleFloat, "the group scale table");
    std::transform(std::begin(d.groupScaleFloat), std::end(d.groupScaleFloat), std::begin(d.groupScaleInt),
                   WholeScale);
}

// The application writes 2304 bytes of names, this system wrote one more
// before; names a short file lacks are blank, and bytes past them are left.
void readNames(TJwcFile& d, CheckedReader& in) {
    d.nameAreaBytes = in.remaining();
    BlankNames(d.names);
    const auto present = static_cast<std::size_t>(std::min<uint64_t>(in.remaining(), sizeof d.names));
    in.readExact(&d.names, present, "the layer and group names");
}

}  // namespace

void ReadJwc(TJwcFile& d, ByteSource& source, const std::string& name) {
    CheckedReader in(source, name);
    JwcHead& h = d.head;
    in.readExact(&h, offsetof(JwcHead, Reserved), "the header blocks");
    d.oldFormat = h.TitleBlock[22] == '.';
    d.comment1 = ReadComment(h, 0);
    d.comment2 = ReadComment(h, 1);

    const HeaderLine1 line1 = ParseHeaderLine1(h);
    d.paperSize = line1.paperSize;
    d.unitsPerSheet = line1.unitsPerSheet;
    d.temporaryPoints = line1.temporaryPoints;

    TextPool pool;
    std::string why;
    if (!ParseTextPool(h, pool, why)) in.fail(why);
    d.textAreaLength = static_cast<int32_t>(pool.length);

    in.readExact(&h.Reserved, sizeof h.Reserved + sizeof h.Table, "the reserved block and text-size table");
    d.scale = 1;
    readGroupScales(d, in);
    d.unitDivisor = static_cast<float>(static_cast<double>(PaperLength(d.paperSize)) / d.unitsPerSheet);
    in.readExact(&d.tables, sizeof d.tables, "the layer and group tables");

    // The temporary points are among the point records: field 4 adds none.
    readRecords(d.sens(), line1.counts[0], "line", in);
    readRecords(d.enkos(), line1.counts[1], "arc", in);
    readTextRecords(d, line1.counts[2], pool, in);
    readTextArea(d, pool.length, in);
    readRecords(d.tens(), line1.counts[3], "point", in);
    readNames(d, in);
}

void LoadJwcFile(TJwcFile& drawing, const std::string& path) {
    FileSource source(path);
    ReadJwc(drawing, source, path);
}

}  // namespace tavo
