#include "base/byte_source.h"

#include <cstring>

#include "base/error.h"

namespace tavo {

std::size_t MemorySource::read(void* data, std::size_t size) {
    const std::size_t n = size < bytes_.size() - pos_ ? size : bytes_.size() - pos_;
    if (n > 0) std::memcpy(data, bytes_.data() + pos_, n);
    pos_ += n;
    return n;
}

namespace {

std::unique_ptr<platform::FileReader> openOrThrow(const std::string& path) {
    platform::FileStatus status;
    std::unique_ptr<platform::FileReader> file = platform::Files().openRead(path, status);
    if (!file) throw Error::cannotOpen(path, status.reason);
    return file;
}

}  // namespace

FileSource::FileSource(const std::string& path) : file_(openOrThrow(path)) {}

void CheckedReader::readExact(void* data, std::size_t size, const std::string& what) {
    if (size > remaining()) failShort(size - remaining(), what);
    const std::size_t got = source_.read(data, size);
    pos_ += got;
    if (got < size) failShort(size - got, what);
}

std::size_t CheckedReader::readRecords(void* data, std::size_t count, std::size_t recordSize) {
    const std::size_t got = source_.read(data, count * recordSize);
    pos_ += got;
    return got / recordSize;
}

void CheckedReader::failShort(uint64_t needed, const std::string& what) const {
    fail("file ends at byte " + std::to_string(pos_ + remaining()) + ", " + std::to_string(needed) +
         " more bytes needed for " + what);
}

void CheckedReader::fail(const std::string& detail) const { throw Error::badFile(name_, detail); }

}  // namespace tavo
