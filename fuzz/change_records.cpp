// Fuzz target: the change-record decoder of the directory monitor (hotdir/ChangeDecoder.h), fed
// buffers that the change source never writes: damaged offsets and lengths, records that run
// past the bytes returned or past the buffer, bytes returned larger than the buffer.
//
// Input: four bytes of "bytes returned" (little-endian), then the buffer (at most the size of
// the real one, ChangeBufferSize). The buffer is a heap block of exactly that size, so reading
// one byte past it is a sanitizer report.
//
// What must hold: every name handed out lies inside the buffer and inside the bytes returned,
// records come in increasing order, the count matches the calls; and records that were read are
// written again by ChangeRecordWriter into a buffer that decodes to the same records, complete.
#include "FuzzSupport.h"

#include "hotdir/ChangeDecoder.h"
#include "platform/ChangeRecords.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace pellucor;
using pellucor::fuzz::Shown;

namespace {

using Record = std::pair<std::uint32_t, std::string>;

std::vector<Record> Decode(std::span<const std::uint8_t> buffer, std::uint32_t bytesReturned,
                           hotdir::DecodeResult& result) {
    std::vector<Record> records;
    const std::uint8_t* begin = buffer.data();
    const std::uint8_t* limit = begin + std::min<std::size_t>(bytesReturned, buffer.size());
    const char* previous = nullptr;
    result = hotdir::ProcessChanges(buffer, bytesReturned, [&](std::uint32_t action, std::string_view name) {
        const auto* first = reinterpret_cast<const std::uint8_t*>(name.data());
        FUZZ_CHECK(first >= begin + platform::ChangeRecordHeaderSize && first + name.size() <= limit,
                   "a name outside the bytes returned");
        FUZZ_CHECK(previous == nullptr || name.data() > previous, "records out of order");
        previous = name.data();
        records.emplace_back(action, std::string(name));
    });
    FUZZ_CHECK(result.handled == static_cast<int>(records.size()), "the handled count is wrong");
    return records;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    const std::uint32_t bytesReturned = platform::loadU32(data);
    const std::size_t length = std::min(size - 4, platform::ChangeBufferSize);
    const auto buffer = std::make_unique<std::uint8_t[]>(length);
    std::copy_n(data + 4, length, buffer.get());

    hotdir::DecodeResult result;
    const std::vector<Record> records = Decode({buffer.get(), length}, bytesReturned, result);

    // Written again by the producing half, the records read back as themselves, all of them.
    std::array<std::uint8_t, platform::ChangeBufferSize> rewritten{};
    platform::ChangeRecordWriter writer(rewritten);
    for (const Record& r : records)
        if (!writer.append(r.first, r.second)) return 0;  // damaged input packed tighter than aligned records fit
    FUZZ_CHECK(writer.recordCount() == static_cast<int>(records.size()), "the writer lost count");
    hotdir::DecodeResult again;
    const std::vector<Record> back = Decode(rewritten, writer.bytesUsed(), again);
    FUZZ_CHECK(again.complete, "records written by ChangeRecordWriter do not decode completely");
    FUZZ_CHECK(back == records, "records written again decode differently; first name " +
                                    (records.empty() ? std::string("-") : Shown(records.front().second)));
    return 0;
}
