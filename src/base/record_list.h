#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace tavo {

// An append-only list of plain records stored in fixed chunks of about
// 64 KiB: appending never moves or copies earlier records, memory stays
// within one chunk of the records' packed size, and the bytes can be read
// and written a chunk at a time.
template <class T>
class RecordList {
    static constexpr std::size_t shiftFor(std::size_t bytes) {
        std::size_t shift = 0;
        while ((std::size_t{2} << shift) * sizeof(T) <= bytes) ++shift;
        return shift;
    }

public:
    static constexpr std::size_t kShift = shiftFor(64 * 1024);
    static constexpr std::size_t kChunk = std::size_t{1} << kShift;
    static constexpr std::size_t kMask = kChunk - 1;

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

    const T& operator[](std::size_t i) const { return chunks_[i >> kShift][i & kMask]; }

    // A new record at the end, its bytes left for the caller to fill.
    T& append() {
        if ((size_ >> kShift) == chunks_.size()) chunks_.emplace_back(new T[kChunk]);
        T& slot = chunks_[size_ >> kShift][size_ & kMask];
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
            if ((size_ >> kShift) == chunks_.size()) chunks_.emplace_back(new T[kChunk]);
            const std::size_t room = kChunk - (size_ & kMask);
            const std::size_t want = count - added < room ? count - added : room;
            const std::size_t got = fill(&chunks_[size_ >> kShift][size_ & kMask], want);
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
            visit(chunks_[c].get(), n);
        }
    }

    void clear() {
        chunks_.clear();
        size_ = 0;
    }

    std::size_t capacityBytes() const { return chunks_.size() * kChunk * sizeof(T); }

private:
    std::vector<std::unique_ptr<T[]>> chunks_;
    std::size_t size_ = 0;
};

}  // namespace tavo
