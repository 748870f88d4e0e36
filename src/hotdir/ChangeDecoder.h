#pragma once
// Walking the change records of one read (layout in platform/ChangeRecords.h).
//
// The walk is bounded: a record is handled only when its header and its whole name lie within
// both the bytes the read returned and the buffer, and the walk stops at the first record that
// does not, or whose NextEntryOffset would move it backwards into the record itself. A damaged
// buffer therefore loses at most its damaged tail and is never read past its end.
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>

namespace pellucor::hotdir {

struct DecodeResult {
    int handled = 0;         // records passed to the handler
    bool complete = true;    // false when the walk stopped at a record that did not fit
};

using ChangeHandler = std::function<void(std::uint32_t action, std::string_view name)>;

// Hands each record of the buffer, in order, to handle. bytesReturned larger than the buffer is
// clipped to the buffer.
DecodeResult ProcessChanges(std::span<const std::uint8_t> buffer, std::uint32_t bytesReturned,
                            const ChangeHandler& handle);

} // namespace pellucor::hotdir
