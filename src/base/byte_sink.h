#pragma once

#include <cstddef>
#include <string>

namespace tavo {

// Where writers put their bytes: a file, a string, a test buffer.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void write(const void* data, std::size_t size) = 0;

    void write(const std::string& bytes) { write(bytes.data(), bytes.size()); }
};

class StringSink final : public ByteSink {
public:
    using ByteSink::write;
    void write(const void* data, std::size_t size) override {
        bytes_.append(static_cast<const char*>(data), size);
    }
    const std::string& bytes() const { return bytes_; }
    std::string take() { return std::move(bytes_); }

private:
    std::string bytes_;
};

}  // namespace tavo
