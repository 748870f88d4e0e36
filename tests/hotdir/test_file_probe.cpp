// The file probes on real files: sizes and existence from stat, and "open with writers excluded"
// against real writer processes, through the lease and through the /proc look, including a
// process without the right to take a lease on the file, and a real lease break that must not
// end the process.
#include "WriterProcess.h"
#include "fixtures/TempDir.h"
#include "platform/FileProbe.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

using namespace pellucor::platform;
using pellucor::fixtures::TempDir;
using pellucor::test::WriterProcess;
namespace fs = std::filesystem;

namespace {

std::string writeFile(const fs::path& path, const std::string& content) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
    return path.string();
}

TEST(FileProbe, SizeAndExistenceComeFromStatWithNamesTakenLiterally) {
    TempDir dir;
    writeFile(dir / "clip.avi", "12345");
    writeFile(dir / "empty.avi", "");
    writeFile(dir / "a*b?.avi", "123");
    writeFile(dir / "aXbY.avi", "1234567");
    fs::create_directory(dir / "folder.avi");
    fs::create_symlink(dir / "clip.avi", dir / "link.avi");
    fs::create_symlink(dir / "nowhere.avi", dir / "broken.avi");
    ASSERT_EQ(::mkfifo((dir / "pipe.avi").c_str(), 0600), 0);

    struct Case {
        const char* name;
        std::string path;
        bool exists;
        std::int64_t size;
    };
    const Case cases[] = {
        {"regular file", dir / "clip.avi", true, 5},
        {"empty file", dir / "empty.avi", true, 0},
        {"missing", dir / "missing.avi", false, 0},
        {"'*' and '?' are characters, not patterns", dir / "a*b?.avi", true, 3},
        {"a pattern never matches another name", dir / "a*b?X.avi", false, 0},
        {"directory", dir / "folder.avi", false, 0},
        {"link to a file", dir / "link.avi", true, 5},
        {"broken link", dir / "broken.avi", false, 0},
        {"named pipe", dir / "pipe.avi", true, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileExists(c.path), c.exists) << c.name;
        EXPECT_EQ(FileSizeOf(c.path), c.size) << c.name;
    }
}

TEST(FileProbe, WhatCannotBeOpenedForReadingIsNeverReady) {
    TempDir dir;
    fs::create_directory(dir / "folder.avi");
    ASSERT_EQ(::mkfifo((dir / "pipe.avi").c_str(), 0600), 0);  // must not hang the look
    const std::string empty = writeFile(dir / "empty.avi", "");
    for (DenyWriteProbe how : {DenyWriteProbe::LeaseThenProc, DenyWriteProbe::ProcOnly}) {
        const char* probe = how == DenyWriteProbe::ProcOnly ? "proc" : "lease";
        EXPECT_FALSE(CanOpenDenyWrite((dir / "missing.avi").string(), how)) << probe;
        EXPECT_FALSE(CanOpenDenyWrite((dir / "folder.avi").string(), how)) << probe;
        EXPECT_FALSE(CanOpenDenyWrite((dir / "pipe.avi").string(), how)) << probe;
        EXPECT_TRUE(CanOpenDenyWrite(empty, how)) << probe << ": emptiness is not this probe's business";
    }
}

TEST(FileProbe, WriterInAnotherProcessIsSeenByBothProbesUntilItLetsGo) {
    struct Case {
        const char* name;
        WriterProcess::Hold hold;
        bool writer;
    };
    const Case cases[] = {
        {"write only", WriterProcess::Hold::WriteOnly, true},
        {"read and write", WriterProcess::Hold::ReadWrite, true},
        {"append", WriterProcess::Hold::Append, true},
        {"shared writable mapping, descriptor closed", WriterProcess::Hold::SharedMapping, true},
        {"reader only", WriterProcess::Hold::ReadOnly, false},
    };
    TempDir dir;
    const std::string file = writeFile(dir / "Clip One.avi", "some video bytes");
    for (const auto& c : cases) {
        for (DenyWriteProbe how : {DenyWriteProbe::LeaseThenProc, DenyWriteProbe::ProcOnly}) {
            const std::string label = std::string(c.name) + (how == DenyWriteProbe::ProcOnly ? " (proc)" : " (lease)");
            WriterProcess holder(file, c.hold);
            EXPECT_EQ(CanOpenDenyWrite(file, how), !c.writer) << label << ", while held";
            if (how == DenyWriteProbe::ProcOnly) {
                EXPECT_EQ(IsOpenForWritingByAnyProcess(file), c.writer) << label;
            }
            ASSERT_EQ(holder.finish(), 0) << label;
            EXPECT_TRUE(CanOpenDenyWrite(file, how)) << label << ", after the holder ended";
        }
    }
}

TEST(FileProbe, WriterInThisProcessCountsToo) {
    TempDir dir;
    const std::string file = writeFile(dir / "clip.avi", "x");
    {
        std::ofstream writer(file, std::ios::app);
        EXPECT_FALSE(CanOpenDenyWrite(file, DenyWriteProbe::LeaseThenProc));
        EXPECT_FALSE(CanOpenDenyWrite(file, DenyWriteProbe::ProcOnly));
    }
    EXPECT_TRUE(CanOpenDenyWrite(file, DenyWriteProbe::LeaseThenProc));
    EXPECT_TRUE(CanOpenDenyWrite(file, DenyWriteProbe::ProcOnly));
}

// A user who may not take a lease on the file (not its owner, no CAP_LEASE) falls back to the
// /proc look by itself. Needs root to become such a user.
TEST(FileProbe, WithoutTheRightToALeaseTheProcLookDecides) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to switch to an unprivileged user";
    TempDir dir;
    fs::permissions(dir.path(), fs::perms::others_exec | fs::perms::others_read, fs::perm_options::add);
    const std::string file = writeFile(dir / "clip.avi", "root's file");
    fs::permissions(file, fs::perms::all, fs::perm_options::add);  // writable by anyone, owned by root

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // As "nobody"; dumpable again, so its own processes' /proc entries stay readable to it.
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(20);
        ::prctl(PR_SET_DUMPABLE, 1);
        {
            const int fd = ::open(file.c_str(), O_RDONLY);
            if (fd < 0) ::_exit(21);
            const bool refused = ::fcntl(fd, F_SETLEASE, F_RDLCK) != 0 && errno == EACCES;
            ::close(fd);
            if (!refused) ::_exit(22);  // the lease path would decide; nothing to test here
        }
        int code = 0;
        try {
            WriterProcess holder(file, WriterProcess::Hold::WriteOnly);
            if (CanOpenDenyWrite(file)) code |= 1;
            if (holder.finish() != 0) code |= 2;
            if (!CanOpenDenyWrite(file)) code |= 4;
        } catch (...) {
            code |= 8;
        }
        ::_exit(code);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    const int code = WEXITSTATUS(status);
    EXPECT_NE(code, 22) << "the kernel granted the lease to an unprivileged non-owner";
    EXPECT_EQ(code & 1, 0) << "writer not seen through /proc (exit code " << code << ")";
    EXPECT_EQ(code & 4, 0) << "file still counted as open after the writer ended (exit code " << code << ")";
    EXPECT_EQ(code & ~5, 0) << "exit code " << code;
}

// The default action of SIGIO ends a process; a lease holder gets it when a writer opens the
// file. Each statement runs in a fresh copy of this program (threadsafe death tests re-run it),
// so the signal's disposition starts out at its default in both.
TEST(FileProbeDeathTest, LeaseBreakSignalDoesNotEndTheProcess) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(::raise(SIGIO), ::testing::KilledBySignal(SIGIO), "")
        << "control: without the probe, SIGIO ends the process";

    EXPECT_EXIT(
        {
            TempDir dir;
            const std::string file = writeFile(dir / "clip.avi", "x");
            if (!CanOpenDenyWrite(file)) std::_Exit(3);
            ::raise(SIGIO);

            // A real break: hold a read lease, let another process open the file for writing
            // (its open waits for the lease), and see the kernel start the break.
            const int fd = ::open(file.c_str(), O_RDONLY);
            if (fd < 0 || ::fcntl(fd, F_SETLEASE, F_RDLCK) != 0) std::_Exit(4);
            const pid_t writer = ::fork();
            if (writer == 0) {
                const int w = ::open(file.c_str(), O_WRONLY);
                ::_exit(w >= 0 ? 0 : 1);
            }
            bool breaking = false;
            const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
            while (!breaking && std::chrono::steady_clock::now() < giveUp) {
                breaking = ::fcntl(fd, F_GETLEASE) == F_UNLCK;
                if (!breaking) std::this_thread::yield();
            }
            ::fcntl(fd, F_SETLEASE, F_UNLCK);
            ::close(fd);
            int status = 0;
            ::waitpid(writer, &status, 0);
            std::_Exit(!breaking ? 5 : (WIFEXITED(status) && WEXITSTATUS(status) == 0) ? 0 : 6);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
