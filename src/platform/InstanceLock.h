#pragma once
// The single-instance guard: an exclusive flock on a lock file. The kernel lets go of the lock
// when the process ends in any way, a crash included, so a stale file never blocks a start.
//
// The file lives in $XDG_RUNTIME_DIR (private to the user), or in the temporary folder with the
// user id in its name when there is no runtime folder. The lock is held by this object's open
// file description: a second InstanceLock on the same file, in this process or another, does not
// get it. The descriptor is close-on-exec, so programs started from ours never inherit the lock.
#include <filesystem>
#include <string>

namespace pellucor::platform {

// The lock file for a guard name ("Tamrix free Pellucor").
std::filesystem::path instanceLockPath(const std::string& name);

class InstanceLock {
public:
    enum class State {
        Acquired,       // this is the only instance
        HeldElsewhere,  // another instance holds the lock
        Unavailable,    // the lock file could not be opened or locked; see error()
    };

    explicit InstanceLock(const std::filesystem::path& lockFile);
    ~InstanceLock();  // releases the lock; the file stays (removing it would race a new start)
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    State state() const { return state_; }
    // True when another instance runs. Unavailable is not "another instance": the program
    // rather runs unguarded than refuses to start because a folder is not writable.
    bool anotherInstanceRuns() const { return state_ == State::HeldElsewhere; }
    const std::string& error() const { return error_; }

private:
    int fd_ = -1;
    State state_ = State::Unavailable;
    std::string error_;
};

} // namespace pellucor::platform
