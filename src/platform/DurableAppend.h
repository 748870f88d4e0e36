#pragma once
// Appending to a file so that what was appended survives a crash right after.
#include <string>

namespace pellucor::platform {

// Appends bytes to the file at path (created when missing, mode 0644 less the umask), then
// flushes it to disk. Raises std::system_error with the path in its text on any failure.
void appendDurably(const std::string& path, const std::string& bytes);

} // namespace pellucor::platform
