#include "conversion/ConversionLog.h"

#include "conversion/OutputName.h"
#include "platform/DurableAppend.h"

#include <stdexcept>
#include <system_error>

namespace pellucor::conversion {

std::string LongTimeText(std::time_t when)
{
    std::tm local{};
    localtime_r(&when, &local);
    char text[64];
    // %X is the locale's time representation, which carries seconds.
    const std::size_t n = std::strftime(text, sizeof text, "%X", &local);
    return n ? std::string(text, n) : std::string();
}

std::string MemoLoadLine(const std::string& time, const std::string& sourceName)
{
    return "[" + time + "]Load: " + sourceName + " [Success]";
}

std::string MemoConvertLine(const std::string& time, const std::string& outputName)
{
    return "[" + time + "]Convert to: " + outputName + " [Success]";
}

std::string ErrorLine(const std::string& errorText) { return "[Error message]: " + errorText; }

std::string LogFilePath(const std::string& logDir, std::time_t when)
{
    std::tm local{};
    localtime_r(&when, &local);
    char name[32];
    std::strftime(name, sizeof name, "%y-%m-%d.log", &local);
    return AddTrailingSlash(logDir) + name;
}

void AppendLogLine(const std::string& line, const std::string& file)
{
    // Appending in place gives the same content as rewriting the whole file without copying
    // the day's log for every line; a line torn by a crash is cut off by the next append.
    try {
        platform::appendRecordDurably(file, line + "\r\n");
    } catch (const std::system_error& e) {
        throw std::runtime_error("Cannot write the log file " + file + ": " + e.code().message());
    }
}

} // namespace pellucor::conversion
