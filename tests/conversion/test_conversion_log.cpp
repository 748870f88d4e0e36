#include "conversion/ConversionLog.h"
#include "fixtures/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

using namespace pellucor::conversion;

namespace {
std::string readAll(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::time_t localTime(int year, int month, int day, int hour)
{
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_isdst = -1;
    return std::mktime(&t);
}
} // namespace

TEST(ConversionLog, LineFormats)
{
    EXPECT_EQ(MemoLoadLine("14:03:27", "clip.avi"), "[14:03:27]Load: clip.avi [Success]");
    EXPECT_EQ(MemoConvertLine("14:03:27", "clip.mp4"), "[14:03:27]Convert to: clip.mp4 [Success]");
    EXPECT_EQ(ErrorLine("Cannot open input"), "[Error message]: Cannot open input");
}

TEST(ConversionLog, DailyFileNameFromTheLocalDate)
{
    const std::time_t march15 = localTime(2024, 3, 15, 10);
    EXPECT_EQ(LogFilePath("/logs", march15), "/logs/24-03-15.log");
    EXPECT_EQ(LogFilePath("/logs/", march15), "/logs/24-03-15.log");
    EXPECT_EQ(LogFilePath("/logs", localTime(2031, 12, 1, 23)), "/logs/31-12-01.log");
}

TEST(ConversionLog, LongTimeHasSeconds)
{
    const std::string t = LongTimeText(localTime(2024, 3, 15, 14));
    EXPECT_NE(t.find("14"), std::string::npos) << t;
    EXPECT_NE(t.find("00:00"), std::string::npos) << t;
}

TEST(ConversionLog, AppendCreatesThenKeepsEarlierLines)
{
    pellucor::fixtures::TempDir dir;
    const auto file = dir.path() / "24-03-15.log";
    AppendLogLine("Start: [10:00:00]", file.string());
    EXPECT_EQ(readAll(file), "Start: [10:00:00]\r\n");
    AppendLogLine("Load: /in/a.avi [Success]", file.string());
    AppendLogLine("", file.string());
    EXPECT_EQ(readAll(file), "Start: [10:00:00]\r\nLoad: /in/a.avi [Success]\r\n\r\n");
}

TEST(ConversionLog, AMissingOrReadOnlyFolderRaisesWithTheFileName)
{
    pellucor::fixtures::TempDir dir;
    const std::string missing = (dir.path() / "gone" / "x.log").string();
    try {
        AppendLogLine("line", missing);
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(missing), std::string::npos) << e.what();
    }
}
