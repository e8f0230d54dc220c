#pragma once

#include <new>
#include <string>
#include <string_view>
#include <utility>

#include "base/error.h"
#include "interface/library_state.h"

namespace tavo {

// Runs the body of an export: clears the last error, and turns any failure
// into the last error and the export's neutral result, so that nothing
// thrown ever reaches the host.
// A record the host handed in by address; a null address ends the export
// with a message instead of a crash.
template <class Record>
Record& HostRecord(Record* record) {
    if (!record) throw Error("the record pointer is null");
    return *record;
}

inline void RememberError(LibraryState& state, std::string_view message) noexcept {
    try {
        state.lastError = message;
    } catch (...) {
        state.lastError.clear();
    }
}

template <class Result, class Body>
Result Guarded(Result neutral, Body&& body) noexcept {
    LibraryState& state = State();
    try {
        state.lastError.clear();
        return std::forward<Body>(body)(state);
    } catch (const Error& e) {
        RememberError(state, e.message());
    } catch (const std::bad_alloc&) {
        RememberError(state, "out of memory");
    } catch (const std::exception& e) {
        RememberError(state, e.what());
    } catch (...) {
        RememberError(state, "internal error");
    }
    return neutral;
}

template <class Body>
void GuardedVoid(Body&& body) noexcept {
    Guarded(0, [&](LibraryState& state) {
        std::forward<Body>(body)(state);
        return 0;
    });
}

}  // namespace tavo
