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

AxisSizes::Value AxisSizes::valueAt(int32_t index) const {
    auto it = spans_.upper_bound(index);
    if (it == spans_.begin()) return {};
    --it;
    return index <= it->second.last ? it->second.value : Value{};
}

double AxisSizes::visibleSize(int32_t index) const {
    const Value v = valueAt(index);
    return v.hidden ? 0 : v.points.value_or(default_);
}

double AxisSizes::sum(int32_t from, int32_t to) const {
    double total = 0;
    int32_t at = std::max(from, 0);
    while (at < to) {
        auto it = spans_.upper_bound(at);
        int32_t last = it == spans_.end() ? to - 1 : std::min(to - 1, it->first - 1);
        double size = default_;
        if (it != spans_.begin() && std::prev(it)->second.last >= at) {  // inside a span
            const Span& s = std::prev(it)->second;
            last = std::min(to - 1, s.last);
            size = s.value.hidden ? 0 : s.value.points.value_or(default_);
        }
        total += size * (static_cast<double>(last) - at + 1);
        at = last + 1;
    }
    return total;
}

std::pair<int32_t, double> AxisSizes::walk(int32_t from, double distance, int32_t limit) const {
    int32_t at = std::max(from, 0);
    while (at < limit - 1) {
        auto it = spans_.upper_bound(at);
        int32_t last = it == spans_.end() ? limit - 1 : it->first - 1;
        double size = default_;
        if (it != spans_.begin() && std::prev(it)->second.last >= at) {
            const Span& s = std::prev(it)->second;
            last = s.last;
            size = s.value.hidden ? 0 : s.value.points.value_or(default_);
        }
        last = std::min(last, limit - 1);
        const double count = static_cast<double>(last) - at + 1;
        if (size > 0 && distance <= size * count) {  // ends inside this stretch
            const double whole = std::min(std::floor(distance / size), count - 1);
            return {at + static_cast<int32_t>(whole), distance - whole * size};
        }
        distance -= size * count;
        at = last + 1;
    }
    return {limit - 1, distance};
}

// Splits the spans at `first` and `first + count`, changes every value in
// between (filling gaps with the default value first), then joins equal
// neighbours again, so that settings made in order stay one span.
template <class Change>
void AxisSizes::apply(int32_t first, int32_t count, Change change) {
    if (count <= 0) return;
    const int32_t last = first + (count - 1);
    const auto splitAt = [this](int32_t at) {
        auto it = spans_.upper_bound(at);
        if (it == spans_.begin()) return;
        --it;
        if (it->first < at && at <= it->second.last) {
            spans_.emplace(at, Span{it->second.last, it->second.value});
            it->second.last = at - 1;
        }
    };
    splitAt(first);
    if (last < INT32_MAX) splitAt(last + 1);
    int32_t next = first;
    for (auto it = spans_.lower_bound(first); next <= last;) {
        if (it == spans_.end() || it->first > next) {
            const int32_t gapLast = it == spans_.end() ? last : std::min(last, it->first - 1);
            it = spans_.emplace_hint(it, next, Span{gapLast, Value{}});
        }
        change(it->second.value);
        if (it->second.last == INT32_MAX) break;
        next = it->second.last + 1;
        ++it;
    }
    // Join equal neighbours around the changed stretch.
    auto it = spans_.lower_bound(first);
    if (it != spans_.begin()) --it;
    while (it != spans_.end() && it->first <= last) {
        if (it->second.value == Value{}) {  // the default needs no span
            it = spans_.erase(it);
            continue;
        }
        auto after = std::next(it);
        if (after != spans_.end() && it->second.last != INT32_MAX && after->first == it->second.last + 1 &&
            after->second.value == it->second.value) {
            it->second.last = after->second.last;
            spans_.erase(after);
        } else {
            it = after;
        }
    }
}

void AxisSizes::setSize(int32_t first, int32_t count, double points) {
    const std::optional<double> size = points == default_ ? std::nullopt : std::optional<double>(points);
    apply(first, count, [size](Value& v) { v.points = size; });
}

void AxisSizes::setHidden(int32_t first, int32_t count, bool hidden) {
    apply(first, count, [hidden](Value& v) { v.hidden = hidden; });
}

}  // namespace tavo::workbook
