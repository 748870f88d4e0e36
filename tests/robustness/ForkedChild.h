#pragma once
// Running a piece of the program in a child process, so that a test can kill it at any moment,
// bound its time, read how much memory it took, and survive its crash.
//
// The child runs `body` and hands back one text through a pipe; it ends with _exit, so neither
// GoogleTest nor the parent's static objects run a second time in it. The parent waits with a
// wall-clock guard that only a hung child reaches, and kills the child then.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>

namespace pellucor::test {

struct ChildEnd {
    bool exited = false;   // returned from body and _exit(0)
    int signal = 0;        // the signal that ended it, 0 when it exited
    bool hung = false;     // killed by the guard
    long maxRssKb = 0;     // the child's peak resident memory
    std::string reply;     // what body returned (or wrote before dying)

    std::string describe() const {
        if (hung) return "hung and was killed by the guard";
        if (signal) return std::string("died of signal ") + std::to_string(signal) + " (" + ::strsignal(signal) + ")";
        return exited ? "exited" : "exited with a failure status";
    }
};

// Child side: lets the process map at most `extraMb` more address space than it has now. The
// sanitizers reserve terabytes up front, so a fixed RLIMIT_AS would stop everything; counting from
// what is mapped already bounds what the code under test can take (a huge frame buffer fails to
// allocate instead of taking the machine's memory).
inline void boundAddressSpace(long extraMb) {
    std::ifstream status("/proc/self/status");
    std::string key;
    long vmKb = -1;
    while (status >> key) {
        if (key == "VmSize:") {
            status >> vmKb;
            break;
        }
    }
    if (vmKb < 0) return;
    const rlim_t bytes = static_cast<rlim_t>(vmKb + extraMb * 1024) * 1024;
    const rlimit limit{bytes, bytes};
    ::setrlimit(RLIMIT_AS, &limit);
}

class ForkedChild {
public:
    // Starts the child. body runs in it with the write end of the reply pipe available through
    // send(), for children that report progress while they run (the crash tests).
    explicit ForkedChild(const std::function<std::string(ForkedChild&)>& body) {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe: " + std::string(std::strerror(errno)));
        pid_ = ::fork();
        if (pid_ < 0) throw std::runtime_error("fork: " + std::string(std::strerror(errno)));
        if (pid_ == 0) {
            ::close(fds[0]);
            out_ = fds[1];
            int status = 0;
            try {
                send(body(*this));
            } catch (const std::exception& e) {
                send(std::string("exception: ") + e.what());
                status = 3;
            } catch (...) {
                send("exception");
                status = 3;
            }
            ::_exit(status);
        }
        ::close(fds[1]);
        in_ = fds[0];
    }
    ~ForkedChild() {
        if (pid_ > 0 && !reaped_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (in_ >= 0) ::close(in_);
    }
    ForkedChild(const ForkedChild&) = delete;
    ForkedChild& operator=(const ForkedChild&) = delete;

    pid_t pid() const { return pid_; }

    // Child side: appends bytes to the reply, whole or not at all as far as the parent can tell
    // for up to PIPE_BUF bytes.
    void send(const std::string& bytes) {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(out_, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return;
            done += static_cast<std::size_t>(n);
        }
    }

    // Parent side: reads until at least `bytes` reply bytes have arrived in total, the child has
    // closed the pipe, or the limit passed. Returns the reply so far.
    const std::string& readAtLeast(std::size_t bytes, std::chrono::milliseconds limit) {
        const auto giveUp = std::chrono::steady_clock::now() + limit;
        while (reply_.size() < bytes && !eof_) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(giveUp - std::chrono::steady_clock::now());
            if (left.count() <= 0) break;
            pollfd p{in_, POLLIN, 0};
            const int r = ::poll(&p, 1, static_cast<int>(left.count()));
            if (r < 0 && errno == EINTR) continue;
            if (r <= 0) break;
            drain();
        }
        return reply_;
    }

    void kill(int sig = SIGKILL) { ::kill(pid_, sig); }

    // Parent side: waits for the end (killing the child when `limit` passes first), collects the
    // rest of the reply and the child's resource use.
    ChildEnd wait(std::chrono::milliseconds limit) {
        ChildEnd end;
        readAtLeast(SIZE_MAX, limit);
        if (!eof_) {
            // Nothing more within the limit: the child hangs (or is stuck holding the pipe).
            end.hung = true;
            ::kill(pid_, SIGKILL);
        }
        int status = 0;
        rusage use{};
        while (::wait4(pid_, &status, 0, &use) < 0 && errno == EINTR) {
        }
        reaped_ = true;
        drain();
        end.exited = WIFEXITED(status) && WEXITSTATUS(status) == 0;
        end.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
        end.maxRssKb = use.ru_maxrss;
        end.reply = reply_;
        return end;
    }

private:
    void drain() {
        char buf[65536];
        for (;;) {
            pollfd p{in_, POLLIN, 0};
            if (::poll(&p, 1, 0) <= 0) return;
            const ssize_t n = ::read(in_, buf, sizeof buf);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                eof_ = true;
                return;
            }
            reply_.append(buf, static_cast<std::size_t>(n));
        }
    }

    pid_t pid_ = -1;
    int in_ = -1;
    int out_ = -1;
    bool eof_ = false;
    bool reaped_ = false;
    std::string reply_;
};

} // namespace pellucor::test
