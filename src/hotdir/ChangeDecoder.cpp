#include "hotdir/ChangeDecoder.h"

#include "platform/ChangeRecords.h"

#include <algorithm>

namespace pellucor::hotdir {

using platform::ChangeRecordHeaderSize;
using platform::loadU32;

DecodeResult ProcessChanges(std::span<const std::uint8_t> buffer, std::uint32_t bytesReturned,
                            const ChangeHandler& handle) {
    DecodeResult result;
    // Sizes are kept in size_t so that offset + length can never wrap around.
    const std::size_t limit = std::min<std::size_t>(bytesReturned, buffer.size());
    std::size_t offset = 0;
    if (limit == 0) return result;  // an empty read carries no records at all

    for (;;) {
        if (limit - offset < ChangeRecordHeaderSize) {
            result.complete = false;
            return result;
        }
        const std::uint8_t* record = buffer.data() + offset;
        const std::size_t next = loadU32(record);
        const std::uint32_t action = loadU32(record + 4);
        const std::size_t nameLength = loadU32(record + 8);
        const std::size_t recordEnd = ChangeRecordHeaderSize + nameLength;
        if (limit - offset < recordEnd) {
            result.complete = false;
            return result;
        }
        // A following record that starts inside this one's name can only be garbage.
        if (next != 0 && next < recordEnd) {
            result.complete = false;
            return result;
        }
        handle(action, std::string_view(reinterpret_cast<const char*>(record) + ChangeRecordHeaderSize,
                                         nameLength));
        ++result.handled;
        if (next == 0) return result;
        if (next >= limit - offset) {  // the next record would start at or past the end
            result.complete = false;
            return result;
        }
        offset += next;
    }
}

} // namespace pellucor::hotdir
