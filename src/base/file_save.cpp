#include "base/file_save.h"

#include <memory>
#include <string_view>

#include "base/error.h"
#include "base/path_text.h"
#include "files/file_system.h"

namespace tavo {

namespace {

using platform::FileKind;
using platform::FileStatus;
using platform::FileSystem;

[[noreturn]] void failCreating(const std::string& path, const FileStatus& status) {
    throw Error::cannotCreate(path, status.reason);
}

// Collects the writers' many small writes into large ones, and remembers the
// first failure instead of throwing from deep inside a writer.
class PendingSink final : public ByteSink {
public:
    explicit PendingSink(platform::PendingFile& file) : file_(file) { buffer_.reserve(kBufferSize); }
    using ByteSink::write;
    void write(const void* data, std::size_t size) override {
        const std::string_view bytes(static_cast<const char*>(data), size);
        if (buffer_.size() + bytes.size() > kBufferSize) flush();
        if (bytes.size() >= kBufferSize) {
            if (status_.ok()) status_ = file_.write(bytes.data(), bytes.size());
        } else {
            buffer_.append(bytes);
        }
    }
    FileStatus flush() {
        if (status_.ok() && !buffer_.empty()) status_ = file_.write(buffer_.data(), buffer_.size());
        buffer_.clear();
        return status_;
    }

private:
    static constexpr std::size_t kBufferSize = 1 << 16;
    platform::PendingFile& file_;
    std::string buffer_;
    FileStatus status_;
};

// The old file's bytes under NAME.bak, unless such a file exists already.
// A hard link keeps the old file in place until the new one replaces it;
// where links are not possible the old file is renamed and comes back if
// the replacement fails. Failing here only costs the backup.
enum class BackupMade { None, Linked, Renamed };

BackupMade backUpOld(FileSystem& files, const std::string& target, const std::string& bak) {
    if (files.link(target, bak).ok()) return BackupMade::Linked;
    return files.rename(target, bak).ok() ? BackupMade::Renamed : BackupMade::None;
}

void undoBackup(FileSystem& files, BackupMade made, const std::string& target, const std::string& bak) {
    if (made == BackupMade::Linked) files.remove(bak);
    if (made == BackupMade::Renamed) files.rename(bak, target);
}

}  // namespace

void InjectFileFault(int nthOperation) { platform::InjectFileFault(nthOperation); }

int FileOperationsCounted() { return platform::FileOperationsCounted(); }

void saveFile(const std::string& path, const std::function<void(ByteSink&)>& produce, Backup backup) {
    FileSystem& files = platform::Files();
    FileStatus status;
    const std::string target = files.resolveLinks(path, status);
    if (!status.ok()) failCreating(path, status);
    const FileKind kind = files.kindOf(target);
    if (kind == FileKind::Other) throw Error::cannotCreate(path, "not a regular file");
    if (kind == FileKind::File && !(status = files.checkWritable(target)).ok()) failCreating(path, status);

    // Dropped unreplaced on any failure below, the temporary file is gone.
    std::unique_ptr<platform::PendingFile> file = files.createBeside(target, status);
    if (!file) failCreating(path, status);
    {
        PendingSink sink(*file);
        produce(sink);
        status = sink.flush();
    }
    if (status.ok()) status = file->seal(target);
    if (!status.ok()) failCreating(path, status);

    const std::string bak = changeFileExt(target, ".bak");
    const BackupMade made =
        backup == Backup::RenameOldToBak && kind == FileKind::File ? backUpOld(files, target, bak) : BackupMade::None;
    status = file->replace(target);
    if (!status.ok()) {
        file.reset();
        undoBackup(files, made, target, bak);
        failCreating(path, status);
    }
}

std::string readWholeFile(const std::string& path) {
    FileStatus status;
    const std::unique_ptr<platform::FileReader> reader = platform::Files().openRead(path, status);
    if (!reader) throw Error::cannotOpen(path, status.reason);
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(reader->size()));
    std::string chunk(1 << 16, '\0');
    while (const std::size_t n = reader->read(chunk.data(), chunk.size())) bytes.append(chunk, 0, n);
    if (!reader->status().ok()) throw Error::cannotOpen(path, reader->status().reason);
    return bytes;
}

}  // namespace tavo
