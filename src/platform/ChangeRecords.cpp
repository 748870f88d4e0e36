#include "platform/ChangeRecords.h"

#include <algorithm>
#include <cstring>

namespace pellucor::platform {

namespace {
std::size_t alignUp4(std::size_t n) { return (n + 3) & ~std::size_t{3}; }
} // namespace

void storeU32(std::uint8_t* at, std::uint32_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
    at[2] = static_cast<std::uint8_t>(value >> 16);
    at[3] = static_cast<std::uint8_t>(value >> 24);
}

std::uint32_t loadU32(const std::uint8_t* at) {
    return std::uint32_t{at[0]} | std::uint32_t{at[1]} << 8 | std::uint32_t{at[2]} << 16 |
           std::uint32_t{at[3]} << 24;
}

ChangeRecordWriter::ChangeRecordWriter(std::span<std::uint8_t> buffer) : buffer_(buffer) {
    std::fill(buffer_.begin(), buffer_.end(), std::uint8_t{0});
}

bool ChangeRecordWriter::fitsAtAll(std::size_t nameLength, std::size_t bufferSize) {
    return nameLength <= bufferSize && ChangeRecordHeaderSize + nameLength <= bufferSize;
}

bool ChangeRecordWriter::append(std::uint32_t action, std::string_view name) {
    const std::size_t at = count_ == 0 ? 0 : alignUp4(end_);
    if (at > buffer_.size() || !fitsAtAll(name.size(), buffer_.size() - at)) return false;

    std::uint8_t* record = buffer_.data() + at;
    storeU32(record, 0);
    storeU32(record + 4, action);
    storeU32(record + 8, static_cast<std::uint32_t>(name.size()));
    if (!name.empty()) std::memcpy(record + ChangeRecordHeaderSize, name.data(), name.size());
    if (count_ > 0) storeU32(buffer_.data() + last_, static_cast<std::uint32_t>(at - last_));

    last_ = at;
    end_ = at + ChangeRecordHeaderSize + name.size();
    ++count_;
    return true;
}

} // namespace pellucor::platform
