#pragma once

// A zip archive of stored (uncompressed) parts, for books assembled from
// hand-written parts in the tests and the benchmarks.
#include <cstdint>
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

inline std::string StoredZip(const std::vector<std::pair<std::string, std::string>>& parts) {
    std::string body, directory;
    for (const auto& part : parts) {
        const std::string& name = part.first;
        const std::string& data = part.second;
        const auto offset = static_cast<uint32_t>(body.size());
        const auto header = [&](std::string& out, bool central) {
            Put(out, central ? 0x02014b50 : 0x04034b50, 4);
            if (central) Put(out, 20, 2);
            Put(out, 20, 2);
            Put(out, 0, 2);  // flags
            Put(out, 0, 2);  // stored
            Put(out, 0, 4);  // time and date
            Put(out, Crc32(data), 4);
            Put(out, static_cast<uint32_t>(data.size()), 4);
            Put(out, static_cast<uint32_t>(data.size()), 4);
            Put(out, static_cast<uint32_t>(name.size()), 2);
            Put(out, 0, 2);
            if (central) {
                Put(out, 0, 2);
                Put(out, 0, 2);
                Put(out, 0, 2);
                Put(out, 0, 4);
                Put(out, offset, 4);
            }
            out += name;
        };
        header(body, false);
        body += data;
        header(directory, true);
    }
    std::string end;
    Put(end, 0x06054b50, 4);
    Put(end, 0, 4);
    Put(end, static_cast<uint32_t>(parts.size()), 2);
    Put(end, static_cast<uint32_t>(parts.size()), 2);
    Put(end, static_cast<uint32_t>(directory.size()), 4);
    Put(end, static_cast<uint32_t>(body.size()), 4);
    Put(end, 0, 2);
    return body + directory + end;
}

}  // namespace tavo::test
