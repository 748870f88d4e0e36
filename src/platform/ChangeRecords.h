#pragma once
// The change records the directory monitor decodes: the FILE_NOTIFY_INFORMATION layout, written by
// the change source into one fixed buffer per read.
//
// Layout of one record (little-endian, each record starting on a 4-byte boundary, the first at
// offset 0):
//   0  uint32 NextEntryOffset  bytes from this record to the next; 0 on the last one
//   4  uint32 Action           a ChangeAction value
//   8  uint32 FileNameLength   length of FileName in bytes
//  12  FileName                the name relative to the watched directory, sub-directories
//                              joined with '/', as raw bytes exactly as the file system gives
//                              them (UTF-8 in practice, but never re-encoded), not terminated
//
// ChangeRecordWriter is the producing half; the consuming half (the bounded decoder) lives with
// the monitor in hotdir/.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace pellucor::platform {

// One read fills at most this many bytes. The odd size is deliberate and kept: it is the size
// the monitor has always used, and records never rely on the buffer being a multiple of four.
inline constexpr std::size_t ChangeBufferSize = 4097;
inline constexpr std::size_t ChangeRecordHeaderSize = 12;

enum ChangeAction : std::uint32_t {
    FILE_ACTION_ADDED = 1,
    FILE_ACTION_REMOVED = 2,
    FILE_ACTION_MODIFIED = 3,
    FILE_ACTION_RENAMED_OLD_NAME = 4,
    FILE_ACTION_RENAMED_NEW_NAME = 5,
};

// What a reader asks to be told about; the monitor asks for 0x53.
enum NotifyChange : std::uint32_t {
    FILE_NOTIFY_CHANGE_FILE_NAME = 0x1,
    FILE_NOTIFY_CHANGE_DIR_NAME = 0x2,
    FILE_NOTIFY_CHANGE_SIZE = 0x10,
    FILE_NOTIFY_CHANGE_LAST_WRITE = 0x40,
};

// Packs records into a caller's buffer. The buffer is zeroed when the writer is made, so padding
// and the tail are always zero bytes.
class ChangeRecordWriter {
public:
    explicit ChangeRecordWriter(std::span<std::uint8_t> buffer);

    // Appends one record and links the previous one to it. Returns false, writing nothing, when
    // the record does not fit in what is left of the buffer.
    bool append(std::uint32_t action, std::string_view name);

    // Whether a record with a name of this length could fit into an empty buffer of this size.
    static bool fitsAtAll(std::size_t nameLength, std::size_t bufferSize = ChangeBufferSize);

    // The "bytes returned" of the read: the end of the last record, 0 when there is none.
    std::uint32_t bytesUsed() const { return static_cast<std::uint32_t>(end_); }
    int recordCount() const { return count_; }

private:
    std::span<std::uint8_t> buffer_;
    std::size_t last_ = 0;  // offset of the last record written
    std::size_t end_ = 0;   // first byte after it
    int count_ = 0;
};

// Little-endian field access shared by writer, decoder and tests.
void storeU32(std::uint8_t* at, std::uint32_t value);
std::uint32_t loadU32(const std::uint8_t* at);

} // namespace pellucor::platform
