// Several writers on one hive: nobody's values get lost, and a writer killed at any moment leaves
// the old or the new file, never a mix.
#include "platform/RegFile.h"
#include "platform/Registry.h"
#include "fixtures/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <random>

#include <sys/wait.h>
#include <unistd.h>

using pellucor::platform::RegistryKey;
using pellucor::fixtures::readFile;
using pellucor::fixtures::TempDir;
namespace regfile = pellucor::platform::regfile;

namespace {

const std::string kKey = "Software\\Tamrix\\Pellucor\\Setting";
const std::string kFullKey = "HKEY_CURRENT_USER\\" + kKey;

// Runs body in a child process; the child never returns into the test framework.
pid_t forkChild(const std::function<void()>& body)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        try {
            body();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "child failed: %s\n", e.what());
            ::_exit(1);
        }
        ::_exit(0);
    }
    return pid;
}

// Kills and reaps a child that would otherwise outlive a failed assertion.
struct KillOnExit {
    pid_t pid;
    ~KillOnExit()
    {
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    }
};

int exitStatus(pid_t pid)
{
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(RegistryWriters, TwoOpenKeysInOneProcessKeepEachOthersValues)
{
    TempDir dir;
    const auto hive = dir / "user.reg";
    {
        RegistryKey first(hive);
        ASSERT_TRUE(first.openKey(kKey, true));
        first.writeString("Unrelated", "kept");
    }
    RegistryKey a(hive);
    RegistryKey b(hive);
    ASSERT_TRUE(a.openKey(kKey, false));
    ASSERT_TRUE(b.openKey(kKey, false));
    a.writeString("FromA", "a");
    b.writeString("FromB", "b");
    a.closeKey();
    b.closeKey();  // b read the key before a saved; its save must still keep a's value
    RegistryKey check(hive);
    ASSERT_TRUE(check.openKey(kKey, false));
    EXPECT_EQ(check.readString("FromA"), "a");
    EXPECT_EQ(check.readString("FromB"), "b");
    EXPECT_EQ(check.readString("Unrelated"), "kept");
}

TEST(RegistryWriters, TwoProcessesSavingAtOnceLoseNothing)
{
    TempDir dir;
    const auto hive = dir / "user.reg";
    constexpr int kSaves = 40;
    int go[2];
    ASSERT_EQ(::pipe(go), 0);
    std::vector<pid_t> children;
    for (const std::string tag : {"first", "second"}) {
        children.push_back(forkChild([&, tag] {
            ::close(go[1]);
            char c;
            if (::read(go[0], &c, 1) != 0) ::_exit(3);  // wait until both exist: EOF is the start
            for (int i = 0; i < kSaves; ++i) {
                RegistryKey key(hive);
                if (!key.openKey(kKey, true)) ::_exit(2);
                key.writeInteger(tag + std::to_string(i), i);
                key.writeString(tag + " last", std::to_string(i));
                key.closeKey();
            }
        }));
    }
    ::close(go[0]);
    ::close(go[1]);
    for (pid_t pid : children) EXPECT_EQ(exitStatus(pid), 0);

    RegistryKey key(hive);
    ASSERT_TRUE(key.openKey(kKey, false));
    for (const std::string tag : {"first", "second"}) {
        for (int i = 0; i < kSaves; ++i) {
            ASSERT_TRUE(key.valueExists(tag + std::to_string(i))) << tag << i;
            EXPECT_EQ(key.readInteger(tag + std::to_string(i)), i);
        }
        EXPECT_EQ(key.readString(tag + " last"), std::to_string(kSaves - 1));
    }
}

// The state one save of the crash test leaves: three values that always change together.
struct Snapshot {
    bool valid = false;
    int a = -1;
    int b = -1;
    bool blobMatches = false;
    std::string error;
};

std::vector<std::uint8_t> blobFor(int i)
{
    std::vector<std::uint8_t> blob(3000);
    for (std::size_t k = 0; k < blob.size(); ++k) blob[k] = static_cast<std::uint8_t>(i + k);
    return blob;
}

Snapshot inspect(const std::string& bytes)
{
    Snapshot s;
    const regfile::ParseResult parsed = regfile::parse(bytes);
    if (!parsed.hive) {
        s.error = parsed.error;
        return s;
    }
    s.valid = true;
    const regfile::Section* section = parsed.hive->findSection(kFullKey);
    if (!section) return s;
    auto dword = [&](const char* name) {
        const regfile::Entry* e = regfile::findValue(*section, name);
        return e ? static_cast<int>(e->value.data[0] | (e->value.data[1] << 8)) : -1;
    };
    s.a = dword("A");
    s.b = dword("B");
    const regfile::Entry* blob = regfile::findValue(*section, "Blob");
    s.blobMatches = blob && blob->value.data == blobFor(s.a);
    return s;
}

TEST(RegistryWriters, AWriterKilledAtAnyMomentLeavesTheOldOrTheNewFile)
{
    TempDir dir;
    const auto hive = dir / "user.reg";
    std::mt19937 random(20240611);
    int lastSeen = -1;
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const int start = lastSeen + 1;
        const pid_t child = forkChild([&] {
            ::close(ready[0]);
            for (int i = start;; ++i) {
                RegistryKey key(hive);
                key.openKey(kKey, true);
                key.writeInteger("A", i);
                key.writeBinary("Blob", blobFor(i));
                key.writeInteger("B", i);
                key.closeKey();
                if (i == start) ::close(ready[1]);  // the parent may start reading now
            }
        });
        KillOnExit guard{child};
        ::close(ready[1]);
        char c;
        ASSERT_EQ(::read(ready[0], &c, 1), 0);  // EOF once the child's first save is done
        ::close(ready[0]);

        // Read the file while the child keeps replacing it, a random number of times, then kill
        // the child wherever it happens to be.
        const int reads = std::uniform_int_distribution<int>(0, 100)(random);
        for (int r = 0; r < reads; ++r) {
            const Snapshot s = inspect(readFile(hive));
            ASSERT_TRUE(s.valid) << s.error;
            ASSERT_EQ(s.a, s.b);
            ASSERT_TRUE(s.blobMatches);
            ASSERT_GE(s.a, lastSeen);
            lastSeen = s.a;
        }
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        guard.pid = 0;

        const Snapshot after = inspect(readFile(hive));
        ASSERT_TRUE(after.valid) << after.error;
        EXPECT_EQ(after.a, after.b);
        EXPECT_TRUE(after.blobMatches);
        EXPECT_GE(after.a, std::max(lastSeen, start));
        lastSeen = after.a;
    }
    // The next writer takes the lock a killed one held and clears its temporary leftovers.
    {
        RegistryKey key(hive);
        ASSERT_TRUE(key.openKey(kKey, false));
        key.writeString("Done", "yes");
    }
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        EXPECT_EQ(e.path().filename().string().find(".tmp-"), std::string::npos) << e.path();
    RegistryKey key(hive);
    ASSERT_TRUE(key.openKey(kKey, false));
    EXPECT_EQ(key.readInteger("A"), lastSeen);
    EXPECT_EQ(key.readString("Done"), "yes");
}

} // namespace
