#include "platform/TerminationSignals.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace pellucor::platform {
namespace {

constexpr std::array<int, 3> kSignals = {SIGTERM, SIGINT, SIGHUP};
int g_writeFd = -1;  // the pipe's write end, the only thing the handler touches

void OnSignal(int sig) {
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(sig);
    [[maybe_unused]] ssize_t n = ::write(g_writeFd, &byte, 1);  // async-signal-safe
    errno = savedErrno;
}

} // namespace

struct TerminationSignals::Saved {
    int readFd = -1;
    int writeFd = -1;
    std::array<struct sigaction, kSignals.size()> previous{};
};

TerminationSignals::TerminationSignals(std::function<void(int)> onSignal)
    : saved_(std::make_unique<Saved>()), onSignal_(std::move(onSignal)) {
    if (g_writeFd >= 0) throw std::logic_error("TerminationSignals is already installed");
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        throw std::runtime_error("Cannot create the signal pipe");
    saved_->readFd = fds[0];
    saved_->writeFd = fds[1];
    g_writeFd = fds[1];

    notifier_ = std::make_unique<QSocketNotifier>(saved_->readFd, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
        unsigned char byte = 0;
        while (::read(saved_->readFd, &byte, 1) == 1) {
            if (onSignal_) onSignal_(byte);
        }
    });

    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        ::sigaction(kSignals[i], &action, &saved_->previous[i]);
}

TerminationSignals::~TerminationSignals() {
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        ::sigaction(kSignals[i], &saved_->previous[i], nullptr);
    notifier_.reset();
    g_writeFd = -1;
    ::close(saved_->readFd);
    ::close(saved_->writeFd);
}

} // namespace pellucor::platform
