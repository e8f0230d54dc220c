#include "jwc/jwc_writer.h"

#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "base/error.h"
#include "base/file_save.h"
#include "jwc/jwc_file.h"
#include "jwc/jwc_header.h"

namespace tavo {

namespace {

template <class T>
void writeRecords(const RecordList<T>& list, ByteSink& sink) {
    list.forEachRun([&](const T* first, std::size_t n) { sink.write(first, n * sizeof(T)); });
}

// Bytes a text takes in the pool: up to its first NUL, plus one NUL.
uint32_t pooledSize(std::string_view text) {
    return static_cast<uint32_t>(text.substr(0, text.find('\0')).size() + 1);
}

// Each text record points at its text as the application does: the pool
// start of header line 3 plus the text's offset in the pool. The drawing's
// own offsets are not trusted: a loaded file's are pointers into its pool.
void writeTextRecords(const TJwcFile& d, ByteSink& sink) {
    std::vector<Moji> run;
    uint32_t offset = 0;
    int32_t index = 0;
    d.mojis().forEachRun([&](const Moji* first, std::size_t n) {
        run.resize(n);
        std::memcpy(run.data(), first, n * sizeof(Moji));
        for (Moji& m : run) {
            m.TextOffset = static_cast<int32_t>(kTextPoolStart + offset);
            offset += index < d.textCount() ? pooledSize(d.textAt(index)) : 1;
            ++index;
        }
        sink.write(run.data(), n * sizeof(Moji));
    });
}

}  // namespace

void WriteJwc(TJwcFile& d, ByteSink& sink) {
    // A record without a text (a loaded file may hold fewer texts) gets an
    // empty one, so that its pointer finds a text.
    const std::size_t missingTexts =
        d.mojiCount() > d.textCount() ? static_cast<std::size_t>(d.mojiCount() - d.textCount()) : 0;
    const std::size_t areaBytes = d.textAreaBytes() + missingTexts;
    if (areaBytes > static_cast<std::size_t>(std::numeric_limits<int32_t>::max()))
        throw Error("the texts would exceed the 2147483647 bytes a text area can hold");
    // A loaded drawing's stored length may not match its texts; the header
    // must describe the area that follows it.
    d.textAreaLength = static_cast<int32_t>(areaBytes);
    RebuildHeaders(d);
    d.names.GroupNames[255] = 0;

    sink.write(&d.head, sizeof d.head);
    sink.write(&d.groupScaleInt[0], sizeof d.groupScaleInt);
    sink.write(&d.tables, sizeof d.tables);
    writeRecords(d.sens(), sink);
    writeRecords(d.enkos(), sink);
    writeTextRecords(d, sink);
    d.forEachTextAreaRun([&](const char* bytes, std::size_t n) { sink.write(bytes, n); });
    if (missingTexts > 0) sink.write(std::string(missingTexts, '\0'));
    writeRecords(d.tens(), sink);
    sink.write(&d.names, sizeof d.names);
}

void SaveJwcFile(TJwcFile& drawing, const std::string& path) {
    saveFile(path, [&](ByteSink& sink) { WriteJwc(drawing, sink); }, Backup::RenameOldToBak);
}

}  // namespace tavo
