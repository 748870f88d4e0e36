#pragma once
// The lines the program writes about its conversions: the batch memo lines and the daily log
// file of the hot directory, with its name and the append that keeps every written line.
#include <ctime>
#include <string>

namespace pellucor::conversion {

// The current time in the locale's long time format (with seconds), e.g. "14:03:27".
std::string LongTimeText(std::time_t when);

// Memo lines of a batch run.
std::string MemoLoadLine(const std::string& time, const std::string& sourceName);      // [t]Load: x [Success]
std::string MemoConvertLine(const std::string& time, const std::string& outputName);   // [t]Convert to: x [Success]
std::string ErrorLine(const std::string& errorText);                                   // [Error message]: text

// The day's log file: AddTrailingSlash(logDir) + "yy-mm-dd.log" for the local date of when.
std::string LogFilePath(const std::string& logDir, std::time_t when);

// Appends one line (ended by CR LF) to file, creating it when missing. The line is written and
// flushed to disk before returning, so a crash keeps every line written before it; the start of
// a line a crash cut short is removed by the next append. Raises std::runtime_error naming the
// file when it cannot be written.
void AppendLogLine(const std::string& line, const std::string& file);

} // namespace pellucor::conversion
