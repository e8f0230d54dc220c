#include "base/byte_source.h"

#include <cerrno>
#include <cstring>

#include "base/error.h"

namespace tavo {

std::size_t MemorySource::read(void* data, std::size_t size) {
    const std::size_t n = size < bytes_.size() - pos_ ? size : bytes_.size() - pos_;
    if (n > 0) std::memcpy(data, bytes_.data() + pos_, n);
    pos_ += n;
    return n;
}

FileSource::FileSource(const std::string& path) {
    errno = 0;
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) throw Error::cannotOpen(path, systemErrorText(errno));
    long end = -1;
    if (std::fseek(file_, 0, SEEK_END) == 0) end = std::ftell(file_);
    if (end < 0 || std::fseek(file_, 0, SEEK_SET) != 0) {
        const int err = errno;
        std::fclose(file_);
        throw Error::cannotOpen(path, systemErrorText(err));
    }
    size_ = static_cast<uint64_t>(end);
}

FileSource::~FileSource() { std::fclose(file_); }

std::size_t FileSource::read(void* data, std::size_t size) {
    return size == 0 ? 0 : std::fread(data, 1, size, file_);
}

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
