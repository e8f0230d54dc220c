#include "jwc/jwc_reader.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/geometry.h"
#include "jwc/jwc_file.h"
#include "jwc/jwc_header.h"

namespace tavo {

namespace {

template <class T>
void readRecords(RecordList<T>& list, int32_t count, const char* kind, CheckedReader& in) {
    if (count <= 0) return;
    const uint64_t available = in.remaining() / sizeof(T);
    const std::size_t want = static_cast<std::size_t>(std::min<uint64_t>(static_cast<uint64_t>(count), available));
    const std::size_t got = list.appendBulk(want, [&](T* first, std::size_t n) {
        return in.readRecords(first, n, sizeof(T));
    });
    if (got < static_cast<std::size_t>(count)) {
        const uint64_t partial = in.remaining() % sizeof(T);
        in.failShort(sizeof(T) - partial, std::string(kind) + " record " + std::to_string(got + 1) + " of " +
                                              std::to_string(count));
    }
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

    int64_t textLength = 0;
    std::string why;
    if (!ParseTextAreaLength(h, textLength, why)) in.fail(why);
    d.textAreaLength = static_cast<int32_t>(textLength);

    in.readExact(&h.Reserved, sizeof h.Reserved + sizeof h.Table, "the reserved block and text-size table");
    d.scale = 1;
    if (d.oldFormat) {
        in.readExact(&d.groupScaleInt[0], sizeof d.groupScaleInt, "the group scale table");
        std::copy(std::begin(d.groupScaleInt), std::end(d.groupScaleInt), std::begin(d.groupScaleFloat));
    } else {
        in.readExact(&d.groupScaleFloat[0], sizeof d.groupScaleFloat, "the group scale table");
    }
    d.unitDivisor = static_cast<float>(static_cast<double>(PaperLength(d.paperSize)) / d.unitsPerSheet);
    in.readExact(&d.tables, sizeof d.tables, "the layer and group tables");

    readRecords(d.sens(), line1.counts[0], "line", in);
    readRecords(d.enkos(), line1.counts[1], "arc", in);
    readRecords(d.mojis(), line1.counts[2], "text", in);
    readTextArea(d, textLength, in);
    readRecords(d.tens(), line1.counts[3], "point", in);
    in.readExact(&d.names, sizeof d.names, "the layer and group names");
}

void LoadJwcFile(TJwcFile& drawing, const std::string& path) {
    FileSource source(path);
    ReadJwc(drawing, source, path);
}

}  // namespace tavo
