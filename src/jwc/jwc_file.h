#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/record_list.h"
#include "jwc/jwc_records.h"

namespace tavo {

// One JW_CAD (DOS) drawing in memory: the four record lists, their texts,
// and the blocks and tables of the file, held in the file's own form.
class TJwcFile {
public:
    TJwcFile();

    // Records. `add*` appends a record whose bytes the caller fills.
    Sen& addSen() { return sens_.append(); }
    Enko& addEnko() { return enkos_.append(); }
    Moji& addMoji() { return mojis_.append(); }
    Ten& addTen() { return tens_.append(); }

    RecordList<Sen>& sens() { return sens_; }
    RecordList<Enko>& enkos() { return enkos_; }
    RecordList<Moji>& mojis() { return mojis_; }
    RecordList<Ten>& tens() { return tens_; }
    const RecordList<Sen>& sens() const { return sens_; }
    const RecordList<Enko>& enkos() const { return enkos_; }
    const RecordList<Moji>& mojis() const { return mojis_; }
    const RecordList<Ten>& tens() const { return tens_; }

    int32_t senCount() const { return static_cast<int32_t>(sens_.size()); }
    int32_t enkoCount() const { return static_cast<int32_t>(enkos_.size()); }
    int32_t mojiCount() const { return static_cast<int32_t>(mojis_.size()); }
    int32_t tenCount() const { return static_cast<int32_t>(tens_.size()); }

    // The index-th record, or null when the index is out of range.
    const Sen* senAt(int64_t i) const { return at(sens_, i); }
    const Enko* enkoAt(int64_t i) const { return at(enkos_, i); }
    const Moji* mojiAt(int64_t i) const { return at(mojis_, i); }
    const Ten* tenAt(int64_t i) const { return at(tens_, i); }

    // Texts: the i-th belongs to the i-th text record.
    void appendText(std::string_view text);
    // Appends the texts of a text area: NUL-separated, the last one with or
    // without its closing NUL.
    void appendTextArea(std::string_view area);
    int32_t textCount() const { return static_cast<int32_t>(textEnds_.size()); }
    // The i-th text; callers check the index against textCount().
    std::string_view textAt(int32_t i) const;
    // Bytes of the text area as written: each text up to its first NUL, plus
    // one NUL.
    std::size_t textAreaBytes() const;
    // The text area's bytes in `visit(const char*, std::size_t)` calls.
    template <class Visit>
    void forEachTextAreaRun(Visit visit) const;

    // Heap bytes the records and texts hold.
    std::size_t heldBytes() const;

    // Name of a layer (0-255) or group (0-15), trimmed of blanks and control bytes.
    std::string layerName(int32_t lay) const;
    std::string groupName(int32_t group) const;

    // Blocks and tables, in the file's form.
    JwcHead head{};
    int16_t groupScaleInt[16]{};
    float groupScaleFloat[16]{};
    JwcLayerTables tables{};
    JwcNames names{};

    std::string comment1;
    std::string comment2;
    int32_t paperSize = 0;
    int32_t scale = 0;
    float unitDivisor = 0;
    int32_t textAreaLength = 0;
    bool oldFormat = false;
    int32_t unitsPerSheet = 0;
    // Header line 1 field 4: how many of the points the application treats
    // as temporary. Written back as read; 0 in a drawing made here.
    int32_t temporaryPoints = 0;
    // Bytes the reader found after the point records (the names take 2304).
    uint64_t nameAreaBytes = 0;

private:
    template <class T>
    static const T* at(const RecordList<T>& list, int64_t i) {
        return i >= 0 && static_cast<uint64_t>(i) < list.size() ? &list[static_cast<std::size_t>(i)] : nullptr;
    }
    void reserveTextBytes(std::size_t more);

    RecordList<Sen> sens_;
    RecordList<Enko> enkos_;
    RecordList<Moji> mojis_;
    RecordList<Ten> tens_;

    // Every text followed by a NUL; textEnds_[i] is the index of text i's NUL.
    std::vector<char> textBytes_;
    std::vector<uint32_t> textEnds_;
    std::size_t textsWithNul_ = 0;  // texts that hold a NUL of their own
};

// Unit divisor of a drawing made here for this paper size: millimetres on
// the sheet per drawing unit, 518 units across the long side.
float UnitDivisorFor(int32_t plotSize);

// Every layer and group name blank.
void BlankNames(JwcNames& names);
// Sets every layer and group as the creators do: flags 1, shown, base layer
// 16 × group.
void ShowAllLayersAndGroups(TJwcFile& drawing);
// Sets group g's scale in both scale tables.
void SetGroupScale(TJwcFile& drawing, int group, int16_t scale);
// The integer table's entry for a float group scale: the nearest whole
// number (halves to even) within the i16 range, and at least 1 for a
// positive scale so that no group collapses to scale 0.
int16_t WholeScale(float scale);

template <class Visit>
void TJwcFile::forEachTextAreaRun(Visit visit) const {
    if (textsWithNul_ == 0) {
        if (!textBytes_.empty()) visit(textBytes_.data(), textBytes_.size());
        return;
    }
    static const char kNul = '\0';
    for (int32_t i = 0; i < textCount(); ++i) {
        const std::string_view text = textAt(i);
        visit(text.data(), text.substr(0, text.find('\0')).size());
        visit(&kNul, std::size_t{1});
    }
}

}  // namespace tavo
