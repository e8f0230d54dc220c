#pragma once

// A zip archive of stored (uncompressed) parts, for books assembled from
// hand-written parts in the tests and the benchmarks.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace tavo::test {

inline uint32_t Crc32(const std::string& data) {
    uint32_t crc = 0xFFFFFFFF;
    for (unsigned char c : data) {
        crc ^= c;
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    return ~crc;
}

inline void Put(std::string& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// Fields of `bytes` each, little-endian.
inline void Put(std::string& out, std::initializer_list<std::pair<uint32_t, int>> fields) {
    for (const auto& [v, bytes] : fields) Put(out, v, bytes);
}

inline std::string StoredZip(const std::vector<std::pair<std::string, std::string>>& parts) {
    std::string body, directory;
    for (const auto& part : parts) {
        // Named, not bound: a lambda may not capture a structured binding before C++20.
        const std::string& name = part.first;
        const std::string& data = part.second;
        const auto offset = static_cast<uint32_t>(body.size()), size = static_cast<uint32_t>(data.size());
        const auto header = [&](std::string& out, bool central) {
            Put(out, central ? 0x02014b50 : 0x04034b50, 4);
            if (central) Put(out, 20, 2);
            // version, flags, stored, time and date, crc, sizes, name length, extra length
            Put(out, {{20, 2}, {0, 2}, {0, 2}, {0, 4}, {Crc32(data), 4}, {size, 4}, {size, 4}, {uint32_t(name.size()), 2}, {0, 2}});
            if (central) Put(out, {{0, 2}, {0, 2}, {0, 2}, {0, 4}, {offset, 4}});  // comment, disk, attributes, offset
            out += name;
        };
        header(body, false);
        body += data;
        header(directory, true);
    }
    const auto count = static_cast<uint32_t>(parts.size());
    std::string end;
    Put(end, {{0x06054b50, 4}, {0, 4}, {count, 2}, {count, 2}, {uint32_t(directory.size()), 4}, {uint32_t(body.size()), 4}, {0, 2}});
    return body + directory + end;
}

}  // namespace tavo::test
