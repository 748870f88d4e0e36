#pragma once
// Turns SIGTERM, SIGINT and SIGHUP (a logout closing the session, a kill, Ctrl+C in a terminal)
// into a call on the main thread, so the program can end the orderly way: running job stopped,
// window closed, settings saved by their module.
//
// The signal handler only writes the signal number into a pipe; a QSocketNotifier on the main
// thread reads it and calls onSignal. One object at a time; create it on the main thread after
// the QCoreApplication. Its destructor puts the previous handlers back.
#include <functional>
#include <memory>

class QSocketNotifier;

namespace pellucor::platform {

class TerminationSignals {
public:
    explicit TerminationSignals(std::function<void(int signalNumber)> onSignal);
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

private:
    struct Saved;
    std::unique_ptr<Saved> saved_;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::function<void(int)> onSignal_;
};

} // namespace pellucor::platform
