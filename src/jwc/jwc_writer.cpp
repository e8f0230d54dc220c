#include "jwc/jwc_writer.h"

#include "base/file_save.h"
#include "jwc/jwc_file.h"
#include "jwc/jwc_header.h"

namespace tavo {

namespace {

template <class T>
void writeRecords(const RecordList<T>& list, ByteSink& sink) {
    list.forEachRun([&](const T* first, std::size_t n) { sink.write(first, n * sizeof(T)); });
}

}  // namespace

void WriteJwc(TJwcFile& d, ByteSink& sink) {
    // A loaded drawing's stored length may not match its texts; the header
    // must describe the area that follows it.
    d.textAreaLength = static_cast<int32_t>(d.textAreaBytes());
    RebuildHeaders(d);
    d.names.GroupNames[255] = 0;

    sink.write(&d.head, sizeof d.head);
    sink.write(&d.groupScaleInt[0], sizeof d.groupScaleInt);
    sink.write(&d.tables, sizeof d.tables);
    writeRecords(d.sens(), sink);
    writeRecords(d.enkos(), sink);
    writeRecords(d.mojis(), sink);
    d.forEachTextAreaRun([&](const char* bytes, std::size_t n) { sink.write(bytes, n); });
    writeRecords(d.tens(), sink);
    sink.write(&d.names, sizeof d.names);
}

void SaveJwcFile(TJwcFile& drawing, const std::string& path) {
    saveFile(path, [&](ByteSink& sink) { WriteJwc(drawing, sink); }, Backup::RenameOldToBak);
}

}  // namespace tavo
