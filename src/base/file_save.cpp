#include "base/file_save.h"

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

// Writes through stdio and remembers the first failure instead of throwing
// from deep inside a writer, so that the caller can clean up in one place.
class FileSink final : public ByteSink {
public:
    explicit FileSink(std::FILE* f) : file_(f) {}
    using ByteSink::write;
    void write(const void* data, std::size_t size) override {
        if (errno_ != 0 || size == 0) return;
        if (std::fwrite(data, 1, size, file_) != size) errno_ = errno ? errno : EIO;
    }
    int finish() {
        if (errno_ == 0 && std::fflush(file_) != 0) errno_ = errno ? errno : EIO;
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
        if (std::FILE* f = std::fopen(tempPath.c_str(), "wbx")) return FilePtr(f);
        lastErrno = errno;
        if (lastErrno != EEXIST) break;
    }
    throw Error::cannotCreate(path, systemErrorText(lastErrno));
}

void renameOldToBackup(const std::string& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return;
    const std::string bak = changeFileExt(path, ".bak");
    if (fs::exists(bak, ec) || ec) return;
    fs::rename(path, bak, ec);  // unchecked: the old file is then replaced
}

}  // namespace

void saveFile(const std::string& path, const std::function<void(ByteSink&)>& produce,
              Backup backup) {
    std::string tempPath;
    FilePtr file = createTemporary(path, tempPath);
    auto discard = [&] {
        file.reset();
        std::remove(tempPath.c_str());
    };
    int err = 0;
    try {
        FileSink sink(file.get());
        produce(sink);
        err = sink.finish();
    } catch (...) {
        discard();
        throw;
    }
    if (err == 0 && std::fclose(file.release()) != 0) err = errno ? errno : EIO;
    if (err != 0) {
        discard();
        throw Error::cannotCreate(path, systemErrorText(err));
    }
    if (backup == Backup::RenameOldToBak) renameOldToBackup(path);
    std::error_code ec;
    fs::rename(tempPath, path, ec);
    if (ec) {
        std::remove(tempPath.c_str());
        throw Error::cannotCreate(path, ec.message());
    }
}

std::string readWholeFile(const std::string& path) {
    errno = 0;
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) throw Error::cannotOpen(path, systemErrorText(errno));
    std::string bytes;
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) bytes.append(buffer, n);
    if (std::ferror(file.get())) throw Error::cannotOpen(path, systemErrorText(errno));
    return bytes;
}

}  // namespace tavo
