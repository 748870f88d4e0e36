#pragma once
// Another process that holds a file open for writing until told to let go: the real thing the
// "open with writers excluded" probe has to notice. The child does nothing but system calls
// between fork and _exit, so forking from a threaded test is safe.
#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>
#include <string>

namespace pellucor::test {

class WriterProcess {
public:
    enum class Hold {
        WriteOnly,       // open(O_WRONLY)
        ReadWrite,       // open(O_RDWR)
        Append,          // open(O_WRONLY | O_APPEND)
        SharedMapping,   // mmap(PROT_WRITE, MAP_SHARED), then the descriptor closed
        ReadOnly,        // open(O_RDONLY): a reader, not a writer
    };

    // Returns once the child holds the file.
    WriterProcess(const std::string& path, Hold hold) {
        int ready[2], release[2];
        if (::pipe(ready) != 0 || ::pipe(release) != 0) throw std::runtime_error("pipe");
        pid_ = ::fork();
        if (pid_ < 0) throw std::runtime_error("fork");
        if (pid_ == 0) {
            ::close(ready[0]);
            ::close(release[1]);
            const int flags = hold == Hold::ReadWrite || hold == Hold::SharedMapping ? O_RDWR
                              : hold == Hold::Append                                 ? O_WRONLY | O_APPEND
                              : hold == Hold::ReadOnly                               ? O_RDONLY
                                                                                     : O_WRONLY;
            const int fd = ::open(path.c_str(), flags);
            if (fd < 0) ::_exit(10);
            if (hold == Hold::SharedMapping) {
                if (::mmap(nullptr, 1, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0) == MAP_FAILED) ::_exit(11);
                ::close(fd);
            }
            char c = 'r';
            if (::write(ready[1], &c, 1) != 1) ::_exit(12);
            (void)!::read(release[0], &c, 1);  // until told, or until the parent is gone
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(release[0]);
        releaseFd_ = release[1];
        char c = 0;
        const bool held = ::read(ready[0], &c, 1) == 1;
        ::close(ready[0]);
        if (!held) {
            finish();
            throw std::runtime_error("the writer process could not open " + path);
        }
    }
    ~WriterProcess() { finish(); }
    WriterProcess(const WriterProcess&) = delete;
    WriterProcess& operator=(const WriterProcess&) = delete;

    // Lets go of the file and waits until the process has ended. Returns its exit code.
    int finish() {
        if (releaseFd_ >= 0) {
            ::close(releaseFd_);  // end of file on the child's side: its cue to go
            releaseFd_ = -1;
        }
        if (pid_ <= 0) return exitCode_;
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return exitCode_;
    }

private:
    pid_t pid_ = -1;
    int releaseFd_ = -1;
    int exitCode_ = -1;
};

} // namespace pellucor::test
