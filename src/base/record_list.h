#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <type_traits>
#include <vector>

namespace tavo {

// An append-only list of plain records stored in chunks of about 64 KiB.
// Only the last chunk grows (doubling, or to the exact size a bulk append
// needs), so memory stays close to the records' packed size at every
// count, small lists stay small, and the bytes can be read and written a
// chunk at a time. A record's address is stable once its chunk is full.
template <class T>
class RecordList {
    static_assert(std::is_trivially_copyable_v<T>, "records are copied as bytes");

    static constexpr std::size_t shiftFor(std::size_t bytes) {
        std::size_t shift = 0;
        while ((std::size_t{2} << shift) * sizeof(T) <= bytes) ++shift;
        return shift;
    }

public:
    static constexpr std::size_t kShift = shiftFor(std::size_t{64} * 1024);
    static constexpr std::size_t kChunk = std::size_t{1} << kShift;
    static constexpr std::size_t kMask = kChunk - 1;

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

    const T& operator[](std::size_t i) const { return chunks_[i >> kShift].records[i & kMask]; }

    // A new record at the end, its bytes left for the caller to fill.
    T& append() {
        makeRoom(1);
        T& slot = chunks_[size_ >> kShift].records[size_ & kMask];
        ++size_;
        return slot;
    }
    void append(const T& record) { append() = record; }

    // Appends up to `count` records filled by `fill(T* first, std::size_t n)`,
    // which returns how many it filled; stops at the first short fill.
    template <class Fill>
    std::size_t appendBulk(std::size_t count, Fill fill) {
        std::size_t added = 0;
        while (added < count) {
            const std::size_t room = kChunk - (size_ & kMask);
            const std::size_t want = count - added < room ? count - added : room;
            makeRoom(want);
            const std::size_t got = fill(&chunks_[size_ >> kShift].records[size_ & kMask], want);
            size_ += got;
            added += got;
            if (got < want) break;
        }
        return added;
    }

    // Calls `visit(const T* first, std::size_t n)` for each stored run, in order.
    template <class Visit>
    void forEachRun(Visit visit) const {
        for (std::size_t c = 0; c * kChunk < size_; ++c) {
            const std::size_t n = size_ - c * kChunk < kChunk ? size_ - c * kChunk : kChunk;
            visit(chunks_[c].records.get(), n);
        }
    }

    void clear() {
        chunks_.clear();
        size_ = 0;
    }

    std::size_t capacityBytes() const {
        std::size_t total = 0;
        for (const Chunk& c : chunks_) total += c.capacity * sizeof(T);
        return total;
    }

private:
    struct Chunk {
        std::unique_ptr<T[]> records;
        std::size_t capacity = 0;
    };

    // Makes the chunk of record `size_` hold at least `more` further records
    // (never past the chunk's end).
    void makeRoom(std::size_t more) {
        const std::size_t chunk = size_ >> kShift;
        if (chunk == chunks_.size()) chunks_.emplace_back();
        Chunk& c = chunks_[chunk];
        const std::size_t needed = (size_ & kMask) + more;
        if (needed <= c.capacity) return;
        std::size_t capacity = c.capacity == 0 ? 16 : c.capacity * 2;
        if (capacity < needed) capacity = needed;
        if (capacity > kChunk) capacity = kChunk;
        std::unique_ptr<T[]> grown(new T[capacity]);
        if (c.capacity > 0) std::memcpy(grown.get(), c.records.get(), (size_ & kMask) * sizeof(T));
        c.records = std::move(grown);
        c.capacity = capacity;
    }

    std::vector<Chunk> chunks_;
    std::size_t size_ = 0;
};

}  // namespace tavo
