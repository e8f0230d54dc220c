#include "base/file_save.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <system_error>

#include "base/error.h"
#include "base/path_text.h"

namespace tavo {

namespace {

namespace fs = std::filesystem;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// The failure seam: counts the operations of saves and fails the chosen one.
struct FaultPlan {
    int failAt = 0;  // 0: never
    int count = 0;
};
FaultPlan& faults() {
    static FaultPlan plan;
    return plan;
}

// True when this operation is the one to fail.
bool injectedFault() {
    FaultPlan& plan = faults();
    return ++plan.count == plan.failAt;
}

// Writes through stdio and remembers the first failure instead of throwing
// from deep inside a writer, so that the caller can clean up in one place.
class FileSink final : public ByteSink {
public:
    explicit FileSink(std::FILE* f) : file_(f) {}
    using ByteSink::write;
    void write(const void* data, std::size_t size) override {
        if (errno_ != 0 || size == 0) return;
        if (injectedFault()) {
            errno_ = ENOSPC;
        } else if (std::fwrite(data, 1, size, file_) != size) {
            errno_ = errno ? errno : EIO;
        }
    }
    int flush() {
        if (errno_ == 0 && (injectedFault() || std::fflush(file_) != 0)) errno_ = errno ? errno : EIO;
        return errno_;
    }

private:
    std::FILE* file_;
    int errno_ = 0;
};

std::string temporaryNameFor(const std::string& path) {
    static std::mt19937 random{std::random_device{}()};
    return path + ".~" + std::to_string(random() % 1000000) + ".tmp";
}

// Opens a new temporary file beside `path`; "x" refuses to reuse a name.
FilePtr createTemporary(const std::string& path, std::string& tempPath) {
    int lastErrno = 0;
    for (int attempt = 0; attempt < 16; ++attempt) {
        tempPath = temporaryNameFor(path);
        errno = 0;
        if (injectedFault()) {
            lastErrno = EACCES;
            break;
        }
        if (std::FILE* f = std::fopen(tempPath.c_str(), "wbx")) return FilePtr(f);
        lastErrno = errno;
        if (lastErrno != EEXIST) break;
    }
    throw Error::cannotCreate(path, systemErrorText(lastErrno));
}

void renameFile(const std::string& from, const std::string& to, std::error_code& ec) {
    if (injectedFault()) {
        ec = std::make_error_code(std::errc::io_error);
        return;
    }
    fs::rename(from, to, ec);
}

// The old file's bytes under NAME.bak, unless such a file exists already.
// A hard link keeps the old file in place until the new one replaces it;
// where links are not possible the old file is renamed and comes back if
// the replacement fails. Returns how to undo it.
enum class BackupMade { None, Linked, Renamed };
BackupMade backUpOld(const std::string& path, const std::string& bak) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec) || fs::exists(bak, ec) || ec) return BackupMade::None;
    if (!injectedFault()) {
        fs::create_hard_link(path, bak, ec);
        if (!ec) return BackupMade::Linked;
    }
    renameFile(path, bak, ec);  // failing here only costs the backup
    return ec ? BackupMade::None : BackupMade::Renamed;
}

void undoBackup(BackupMade made, const std::string& path, const std::string& bak) {
    std::error_code ec;
    if (made == BackupMade::Linked) fs::remove(bak, ec);
    if (made == BackupMade::Renamed) fs::rename(bak, path, ec);
}

}  // namespace

void InjectFileFault(int nthOperation) {
    faults().failAt = nthOperation;
    faults().count = 0;
}

int FileOperationsCounted() { return faults().count; }

void saveFile(const std::string& path, const std::function<void(ByteSink&)>& produce, Backup backup) {
    std::string tempPath;
    FilePtr file = createTemporary(path, tempPath);
    const auto discard = [&] {
        file.reset();
        std::remove(tempPath.c_str());
    };
    int err = 0;
    try {
        FileSink sink(file.get());
        produce(sink);
        err = sink.flush();
    } catch (...) {
        discard();
        throw;
    }
    if (err == 0) {
        if (injectedFault())
            err = EIO;
        else if (std::fclose(file.release()) != 0)  // closed either way
            err = errno ? errno : EIO;
    }
    if (err != 0) {
        discard();
        throw Error::cannotCreate(path, systemErrorText(err));
    }

    const std::string bak = changeFileExt(path, ".bak");
    const BackupMade made = backup == Backup::RenameOldToBak ? backUpOld(path, bak) : BackupMade::None;
    std::error_code ec;
    renameFile(tempPath, path, ec);
    if (ec) {
        std::remove(tempPath.c_str());
        undoBackup(made, path, bak);
        throw Error::cannotCreate(path, ec.message());
    }
}

std::string readWholeFile(const std::string& path) {
    errno = 0;
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) throw Error::cannotOpen(path, systemErrorText(errno));
    std::string bytes;
    std::array<char, 65536> buffer;
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), file.get())) > 0) bytes.append(buffer.data(), n);
    if (std::ferror(file.get())) throw Error::cannotOpen(path, systemErrorText(errno));
    return bytes;
}

}  // namespace tavo
