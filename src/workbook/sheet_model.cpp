#include "workbook/sheet_model.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace tavo::workbook {

bool CellFormat::hasBorder() const {
    for (const BorderLine* b : {&left, &right, &top, &bottom, &diagonalUp, &diagonalDown})
        if (b->style != BorderStyle::None) return true;
    return false;
}

const AxisSizes::Span* AxisSizes::spanAt(int32_t index) const {
    auto it = std::upper_bound(spans_.begin(), spans_.end(), index, [](int32_t i, const Span& s) { return i < s.first; });
    if (it == spans_.begin()) return nullptr;
    --it;
    return index <= it->last ? &*it : nullptr;
}

double AxisSizes::sizeOf(const Value& v) const { return v.hidden ? 0 : v.points.value_or(default_); }

double AxisSizes::visibleSize(int32_t index) const {
    const Span* s = spanAt(index);
    return s ? sizeOf(s->value) : default_;
}

// Calls `run(first, last, size)` for the stretches of equal size from
// `from` on (spans, and the default between them), until it returns false.
template <class Run>
void AxisSizes::stretches(int32_t from, int32_t limit, Run run) const {
    auto it = std::upper_bound(spans_.begin(), spans_.end(), from, [](int32_t i, const Span& s) { return i < s.first; });
    if (it != spans_.begin() && std::prev(it)->last >= from) --it;
    for (int32_t at = std::max(from, 0); at < limit;) {
        int32_t last = limit - 1;
        double size = default_;
        if (it != spans_.end() && it->first <= at) {
            last = std::min(it->last, limit - 1);
            size = sizeOf(it->value);
            ++it;
        } else if (it != spans_.end()) {
            last = std::min(it->first - 1, limit - 1);
        }
        if (!run(at, last, size)) return;
        at = last + 1;
    }
}

double AxisSizes::sum(int32_t from, int32_t to) const {
    double total = 0;
    stretches(from, to, [&](int32_t first, int32_t last, double size) {
        total += size * (static_cast<double>(last) - first + 1);
        return true;
    });
    return total;
}

std::pair<int32_t, double> AxisSizes::walk(int32_t from, double distance, int32_t limit) const {
    std::pair<int32_t, double> end{limit - 1, distance};
    stretches(from, limit, [&](int32_t first, int32_t last, double size) {
        const double count = static_cast<double>(last) - first + 1;
        if (size > 0 && distance <= size * count) {  // ends inside this stretch
            const double whole = std::min(std::floor(distance / size), count - 1);
            end = {first + static_cast<int32_t>(whole), distance - whole * size};
            return false;
        }
        distance -= size * count;
        end = {limit - 1, distance};
        return true;
    });
    return end;
}

// Changes every value in [first, first + count), the default included, and
// keeps the spans few: equal neighbours join, default values take none.
// Sizes given in order, as readers give them, are added at the end.
template <class Change>
void AxisSizes::apply(int32_t first, int32_t count, Change change) {
    if (count <= 0) return;
    const int32_t last = first + (count - 1);
    if (spans_.empty() || first > spans_.back().last) {
        Value v;
        change(v);
        if (v == Value{}) return;
        if (!spans_.empty() && spans_.back().last + 1 == first && spans_.back().value == v)
            spans_.back().last = last;
        else
            spans_.push_back({first, last, v});
        return;
    }
    // The spans that overlap the stretch, and the pieces that replace them.
    auto lo = std::lower_bound(spans_.begin(), spans_.end(), first, [](const Span& s, int32_t i) { return s.last < i; });
    auto hi = std::upper_bound(lo, spans_.end(), last, [](int32_t i, const Span& s) { return i < s.first; });
    std::vector<Span> pieces;
    if (lo != hi && lo->first < first) pieces.push_back({lo->first, first - 1, lo->value});
    int32_t at = first;
    for (auto it = lo; at <= last;) {
        Span piece{at, last, Value{}};
        if (it != hi && it->first <= at) {
            piece = {at, std::min(it->last, last), it->value};
            ++it;
        } else if (it != hi) {
            piece.last = it->first - 1;
        }
        change(piece.value);
        pieces.push_back(piece);
        if (piece.last == INT32_MAX) break;
        at = piece.last + 1;
    }
    if (lo != hi && std::prev(hi)->last > last) pieces.push_back({last + 1, std::prev(hi)->last, std::prev(hi)->value});
    std::vector<Span> joined;
    if (lo != spans_.begin()) joined.push_back(*std::prev(lo));
    for (const Span& p : pieces) {
        if (p.value == Value{}) continue;
        if (!joined.empty() && joined.back().last != INT32_MAX && joined.back().last + 1 == p.first &&
            joined.back().value == p.value)
            joined.back().last = p.last;
        else
            joined.push_back(p);
    }
    if (hi != spans_.end()) {
        if (!joined.empty() && joined.back().last + 1 == hi->first && joined.back().value == hi->value) {
            joined.back().last = hi->last;
            ++hi;
        }
    }
    const auto from = lo != spans_.begin() ? std::prev(lo) : lo;
    const auto at0 = spans_.erase(from, hi);
    spans_.insert(at0, joined.begin(), joined.end());
}

void AxisSizes::setSize(int32_t first, int32_t count, double points) {
    const std::optional<double> size = points == default_ ? std::nullopt : std::optional<double>(points);
    apply(first, count, [size](Value& v) { v.points = size; });
}

void AxisSizes::setHidden(int32_t first, int32_t count, bool hidden) {
    apply(first, count, [hidden](Value& v) { v.hidden = hidden; });
}

}  // namespace tavo::workbook
