#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "files/file_system.h"

namespace tavo {

// Bytes to read, with their total known up front so that readers can check
// counts against what is there before they allocate.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Reads up to `size` bytes; fewer only at the end.
    virtual std::size_t read(void* data, std::size_t size) = 0;
    virtual uint64_t size() const = 0;
};

class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
    std::size_t read(void* data, std::size_t size) override;
    uint64_t size() const override { return bytes_.size(); }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

class FileSource final : public ByteSource {
public:
    // Throws Error::cannotOpen.
    explicit FileSource(const std::string& path);

    std::size_t read(void* data, std::size_t size) override { return size == 0 ? 0 : file_->read(data, size); }
    uint64_t size() const override { return file_->size(); }

private:
    std::unique_ptr<platform::FileReader> file_;
};

// Reads a source front to back, keeping the position so that a short read
// can say where the data ended and what was being read.
class CheckedReader {
public:
    CheckedReader(ByteSource& source, std::string name) : source_(source), name_(std::move(name)) {}

    uint64_t position() const { return pos_; }
    uint64_t remaining() const { return source_.size() - pos_; }
    const std::string& name() const { return name_; }

    // Reads exactly `size` bytes or throws, naming `what`.
    void readExact(void* data, std::size_t size, const std::string& what);
    // Reads whole records of `recordSize` bytes into `data`; returns how many.
    std::size_t readRecords(void* data, std::size_t count, std::size_t recordSize);

    // Throws "file ends at byte P, N more bytes needed for WHAT".
    [[noreturn]] void failShort(uint64_t needed, const std::string& what) const;
    // Throws "NAME: detail".
    [[noreturn]] void fail(const std::string& detail) const;

private:
    ByteSource& source_;
    std::string name_;
    uint64_t pos_ = 0;
};

}  // namespace tavo
