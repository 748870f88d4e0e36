// Change records: what the change source writes and what the monitor's decoder reads back, and
// the decoder's bounds on damaged buffers. Buffers are heap vectors of their exact size, so the
// address sanitizer catches any read past them.
#include "hotdir/ChangeDecoder.h"
#include "platform/ChangeRecords.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace pellucor;
using namespace pellucor::platform;

namespace {

struct Record {
    std::uint32_t action;
    std::string name;
    bool operator==(const Record&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Record& r) {
    out << "{" << r.action << ", \"";
    for (unsigned char c : r.name) {
        if (c >= 32 && c < 127) out << c;
        else out << "\\x" << std::hex << int(c) << std::dec;
    }
    return out << "\"}";
}

std::vector<Record> decode(const std::vector<std::uint8_t>& buffer, std::uint32_t bytes,
                           hotdir::DecodeResult* result = nullptr) {
    std::vector<Record> records;
    const auto r = hotdir::ProcessChanges(buffer, bytes, [&](std::uint32_t action, std::string_view name) {
        records.push_back({action, std::string(name)});
    });
    if (result) *result = r;
    EXPECT_EQ(r.handled, static_cast<int>(records.size()));
    return records;
}

TEST(ChangeRecords, RoundTripKeepsActionsAndNameBytes) {
    const std::vector<Record> records = {
        {FILE_ACTION_ADDED, "clip.avi"},
        {FILE_ACTION_REMOVED, "gone.avi"},
        {FILE_ACTION_MODIFIED, "Day1/Morning/Clip One.AVI"},
        {FILE_ACTION_RENAMED_OLD_NAME, "old name.avi"},
        {FILE_ACTION_RENAMED_NEW_NAME, "sub/new name.avi"},
        {FILE_ACTION_ADDED, "\xC3\xA4pfel \"quoted\" -dash.avi"},
        {FILE_ACTION_MODIFIED, std::string("not\xFF\xFEutf8\x80.avi")},
        {FILE_ACTION_ADDED, "a"},  // lengths 1 to 4 exercise every padding
        {FILE_ACTION_ADDED, "ab"},
        {FILE_ACTION_ADDED, "abc"},
        {FILE_ACTION_ADDED, "abcd"},
    };
    std::vector<std::uint8_t> buffer(ChangeBufferSize, 0xAA);
    ChangeRecordWriter writer(buffer);
    for (const auto& r : records) ASSERT_TRUE(writer.append(r.action, r.name)) << r;

    hotdir::DecodeResult result;
    EXPECT_EQ(decode(buffer, writer.bytesUsed(), &result), records);
    EXPECT_TRUE(result.complete);

    // Every record starts on a 4-byte boundary and the chain ends with a 0 offset.
    std::size_t offset = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(offset % 4, 0u) << "record " << i;
        const std::uint32_t next = loadU32(buffer.data() + offset);
        EXPECT_EQ(next == 0, i + 1 == records.size()) << "record " << i;
        offset += next;
    }
    // Bytes after the last record are zero, not left over from before.
    for (std::size_t i = writer.bytesUsed(); i < buffer.size(); ++i) ASSERT_EQ(buffer[i], 0) << i;
}

TEST(ChangeRecords, WriterStopsAtTheEndOfTheBufferAndTheRestGoesToTheNext) {
    // 300 names of 30 bytes: 44 bytes a record, so about 93 fit in one 4097-byte buffer.
    std::vector<std::string> names;
    for (int i = 0; i < 300; ++i) names.push_back("dir/file-" + std::string(20 - std::to_string(i).size(), '0') + std::to_string(i));
    std::vector<std::string> decoded;
    std::size_t next = 0;
    int reads = 0;
    while (next < names.size()) {
        std::vector<std::uint8_t> buffer(ChangeBufferSize);
        ChangeRecordWriter writer(buffer);
        while (next < names.size() && writer.append(FILE_ACTION_ADDED, names[next])) ++next;
        ASSERT_GT(writer.recordCount(), 0);
        ASSERT_LE(writer.bytesUsed(), ChangeBufferSize);
        for (const auto& r : decode(buffer, writer.bytesUsed())) decoded.push_back(r.name);
        ++reads;
    }
    EXPECT_EQ(decoded, names);
    EXPECT_EQ(reads, 4);
}

TEST(ChangeRecords, LastRecordMayEndExactlyAtTheBufferEnd) {
    const std::size_t longest = ChangeBufferSize - ChangeRecordHeaderSize;
    EXPECT_TRUE(ChangeRecordWriter::fitsAtAll(longest));
    EXPECT_FALSE(ChangeRecordWriter::fitsAtAll(longest + 1));

    std::vector<std::uint8_t> buffer(ChangeBufferSize);
    ChangeRecordWriter writer(buffer);
    ASSERT_TRUE(writer.append(FILE_ACTION_ADDED, "x"));  // 13 bytes, next record at 16
    const std::string rest(ChangeBufferSize - 16 - ChangeRecordHeaderSize, 'n');
    EXPECT_FALSE(writer.append(FILE_ACTION_ADDED, rest + "n")) << "one byte too many";
    EXPECT_EQ(writer.bytesUsed(), 13u) << "a refused record writes nothing";
    ASSERT_TRUE(writer.append(FILE_ACTION_MODIFIED, rest));
    EXPECT_EQ(writer.bytesUsed(), ChangeBufferSize);
    EXPECT_EQ(decode(buffer, writer.bytesUsed()),
              (std::vector<Record>{{FILE_ACTION_ADDED, "x"}, {FILE_ACTION_MODIFIED, rest}}));
}

// Three good records; each case damages the buffer or the byte count and says what must still
// come out.
TEST(ChangeDecoder, WalkIsBoundedByBytesReturnedAndBuffer) {
    struct Case {
        const char* name;
        std::function<void(std::vector<std::uint8_t>&, std::uint32_t& bytes)> damage;
        int expectHandled;
        bool expectComplete;
        bool keepsGoodNames = true;  // the records handled are the first good ones, unchanged
    };
    // Offsets of the good buffer: "first.avi" at 0 (21 bytes), "second.avi" at 24 (22 bytes),
    // "third.avi" at 48 (21 bytes), 69 bytes in all.
    const Case cases[] = {
        {"intact", [](auto&, auto&) {}, 3, true},
        {"next offset past the bytes returned",
         [](auto& b, auto&) { storeU32(b.data() + 24, 100); }, 2, false},
        {"next offset far past the buffer",
         [](auto& b, auto&) { storeU32(b.data(), 0xFFFFFFF0u); }, 1, false},
        {"next offset into its own name",
         [](auto& b, auto&) { storeU32(b.data(), 16); }, 0, false},
        {"name length beyond the bytes returned",
         [](auto& b, auto&) { storeU32(b.data() + 24 + 8, 60); }, 1, false},
        {"name length that would wrap a 32-bit sum",
         [](auto& b, auto&) { storeU32(b.data() + 8, 0xFFFFFFFFu); }, 0, false},
        {"bytes returned cut inside the second name",
         [](auto&, auto& bytes) { bytes = 40; }, 1, false},
        {"bytes returned cut inside the third header",
         [](auto&, auto& bytes) { bytes = 52; }, 2, false},
        {"bytes returned larger than the buffer",
         [](auto& b, auto& bytes) {
             storeU32(b.data() + 48, static_cast<std::uint32_t>(b.size()) - 48 - 4);  // a fourth record 4 bytes before the end
             bytes = 100000;
         },
         3, false},
        {"nothing returned", [](auto&, auto& bytes) { bytes = 0; }, 0, true},
        {"all zero bytes decode as one empty record",
         [](auto& b, auto& bytes) {
             std::fill(b.begin(), b.end(), 0);
             bytes = static_cast<std::uint32_t>(b.size());
         },
         1, true, false},
    };
    for (const auto& c : cases) {
        std::vector<std::uint8_t> buffer(ChangeBufferSize);
        ChangeRecordWriter writer(buffer);
        ASSERT_TRUE(writer.append(FILE_ACTION_ADDED, "first.avi"));
        ASSERT_TRUE(writer.append(FILE_ACTION_MODIFIED, "second.avi"));
        ASSERT_TRUE(writer.append(FILE_ACTION_RENAMED_NEW_NAME, "third.avi"));
        ASSERT_EQ(writer.bytesUsed(), 69u);
        std::uint32_t bytes = writer.bytesUsed();
        c.damage(buffer, bytes);

        hotdir::DecodeResult result;
        const auto records = decode(buffer, bytes, &result);
        EXPECT_EQ(result.handled, c.expectHandled) << c.name;
        EXPECT_EQ(result.complete, c.expectComplete) << c.name;
        if (!c.keepsGoodNames) {
            EXPECT_EQ(records, (std::vector<Record>{{0, ""}})) << c.name;
            continue;
        }
        const std::vector<Record> good = {{FILE_ACTION_ADDED, "first.avi"},
                                          {FILE_ACTION_MODIFIED, "second.avi"},
                                          {FILE_ACTION_RENAMED_NEW_NAME, "third.avi"}};
        EXPECT_EQ(records, std::vector<Record>(good.begin(), good.begin() + result.handled)) << c.name;
    }
}

TEST(ChangeDecoder, SmallerBufferBoundsTheWalkToo) {
    // A buffer that ends inside a record whose header claims more: the buffer, not the claim,
    // is the limit.
    std::vector<std::uint8_t> big(64);
    ChangeRecordWriter writer(big);
    ASSERT_TRUE(writer.append(FILE_ACTION_ADDED, "a.avi"));
    ASSERT_TRUE(writer.append(FILE_ACTION_ADDED, "bbbbbbbbbb.avi"));
    std::vector<std::uint8_t> small(big.begin(), big.begin() + 30);
    hotdir::DecodeResult result;
    const auto records = decode(small, writer.bytesUsed(), &result);
    EXPECT_EQ(records, (std::vector<Record>{{FILE_ACTION_ADDED, "a.avi"}}));
    EXPECT_FALSE(result.complete);
}

} // namespace
