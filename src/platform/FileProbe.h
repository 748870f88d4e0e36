#pragma once
// Questions the directory monitor asks about a waiting file: does it exist, how big is it, and
// is anyone still writing it.
//
// Threads: all functions may be called from any thread; they keep no state except the one-time
// set-up of the lease-break signal.
#include <cstdint>
#include <string>

namespace pellucor::platform {

// Whether something other than a directory exists under path (symbolic links followed).
bool FileExists(const std::string& path);

// The size of the file at path from stat, 0 when nothing is there and for directories. Names are
// taken literally: '*' and '?' are ordinary characters in Linux names.
std::int64_t FileSizeOf(const std::string& path);

enum class DenyWriteProbe {
    LeaseThenProc,  // a read lease; the /proc look only where leases are refused
    ProcOnly,       // straight to the /proc look (what happens on file systems without leases)
};

// True only when the file at path is a regular file that can be opened for reading and no
// process has it open for writing, the counterpart of an open that shares with readers only.
//
// The lease: a read lease (F_SETLEASE, F_RDLCK) on a read-only descriptor is refused by the
// kernel with EAGAIN while any writer exists, and is released at once when granted. Where the
// kernel will not give leases at all (another user's file without CAP_LEASE, file systems without
// lease support), the answer comes from /proc instead: no descriptor of the same file (device and
// inode) opened for writing in /proc/*/fd + /proc/*/fdinfo, and no shared writable mapping of it
// in /proc/*/maps. Processes whose /proc entries we may not read cannot be looked into.
bool CanOpenDenyWrite(const std::string& path,
                      DenyWriteProbe how = DenyWriteProbe::LeaseThenProc);

// A writer that opens the file during the instant our lease is held makes the kernel send the
// lease holder SIGIO, whose default action ends the process. Called by CanOpenDenyWrite before
// its first lease: when SIGIO still has its default action it is set to be ignored; a handler
// someone else installed is left alone.
void MakeLeaseBreakSignalHarmless();

// The /proc look on its own: whether any process we can inspect has the file at path open for
// writing or mapped shared and writable. False when the file does not exist.
bool IsOpenForWritingByAnyProcess(const std::string& path);

} // namespace pellucor::platform
