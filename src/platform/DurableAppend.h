#pragma once
// Appending lines to a file so that what was appended survives a crash right after.
#include <string>

namespace pellucor::platform {

// Appends one record, which ends with a line feed, to the file at path (created when missing,
// mode 0644 less the umask), then flushes it to disk. Raises std::system_error with the path in
// its text on any failure.
//
// The kernel copies a write into the file page by page and a killed process stops between two
// pages, so a crash in the middle of an append can leave the start of a record at the end of
// the file. The next append cuts such a torn record off (everything after the last line feed)
// before it writes, so a fragment never runs into the next record; records that were whole stay
// as they are. Appenders hold an flock on the file meanwhile, so a record another process is
// still writing is never taken for a torn one.
void appendRecordDurably(const std::string& path, const std::string& record);

} // namespace pellucor::platform
