// The single-instance guard: a second lock on the same file fails while the first is held, in
// this process and in another one, and is free again once the holder is gone.
#include "platform/InstanceLock.h"

#include "fixtures/TempDir.h"

#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace pellucor::platform {
namespace {

using State = InstanceLock::State;

TEST(InstanceLock, SecondLockInTheSameProcessSeesTheFirst) {
    fixtures::TempDir dir;
    const auto file = dir / "guard.lock";
    {
        InstanceLock first(file);
        ASSERT_EQ(first.state(), State::Acquired) << first.error();
        EXPECT_FALSE(first.anotherInstanceRuns());
        InstanceLock second(file);
        EXPECT_EQ(second.state(), State::HeldElsewhere);
        EXPECT_TRUE(second.anotherInstanceRuns());
    }
    InstanceLock again(file);  // released with its holder, although the file is still there
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(again.state(), State::Acquired);
}

// Runs fn in a child process and returns its exit code.
template <typename Fn>
int InChild(Fn fn) {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(fn());
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(InstanceLock, AnotherProcessIsTurnedAwayWhileTheLockIsHeld) {
    fixtures::TempDir dir;
    const auto file = dir / "guard.lock";
    auto childState = [&file] {
        return InChild([&file] { return static_cast<int>(InstanceLock(file).state()); });
    };
    {
        InstanceLock holder(file);
        ASSERT_EQ(holder.state(), State::Acquired);
        EXPECT_EQ(childState(), static_cast<int>(State::HeldElsewhere));
    }
    EXPECT_EQ(childState(), static_cast<int>(State::Acquired));
}

TEST(InstanceLock, ALockHeldByAnEndedProcessIsFree) {
    fixtures::TempDir dir;
    const auto file = dir / "guard.lock";
    // The child takes the lock and ends without any clean-up of its own: the kernel lets go.
    ASSERT_EQ(InChild([&file] {
                  auto* leaked = new InstanceLock(file);
                  return leaked->state() == State::Acquired ? 0 : 1;
              }),
              0);
    EXPECT_EQ(InstanceLock(file).state(), State::Acquired);
}

TEST(InstanceLock, AnUnwritableFolderIsUnavailableNotAnotherInstance) {
    InstanceLock lock("/nonexistent-folder/guard.lock");
    EXPECT_EQ(lock.state(), State::Unavailable);
    EXPECT_FALSE(lock.anotherInstanceRuns());
    EXPECT_NE(lock.error().find("/nonexistent-folder/guard.lock"), std::string::npos);
}

TEST(InstanceLockPath, RuntimeFolderFirstThenTheTemporaryFolderWithTheUserId) {
    fixtures::TempDir dir;
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string restore = saved ? saved : "";
    ::setenv("XDG_RUNTIME_DIR", dir.path().c_str(), 1);
    EXPECT_EQ(instanceLockPath("Tamrix free Pellucor"), dir / "Tamrix free Pellucor.lock");
    ::setenv("XDG_RUNTIME_DIR", "", 1);
    const auto fallback = instanceLockPath("Tamrix free Pellucor");
    EXPECT_EQ(fallback.filename().string(), "Tamrix free Pellucor-" + std::to_string(::getuid()) + ".lock");
    ::setenv("XDG_RUNTIME_DIR", (dir.path() / "missing").c_str(), 1);
    EXPECT_EQ(instanceLockPath("x"), fallback.parent_path() / ("x-" + std::to_string(::getuid()) + ".lock"));
    if (saved) ::setenv("XDG_RUNTIME_DIR", restore.c_str(), 1);
    else ::unsetenv("XDG_RUNTIME_DIR");
}

} // namespace
} // namespace pellucor::platform
