#pragma once
// What a verb that converts needs around the component: an event loop without a display, the
// scheduler over it, and the component itself, without preview pictures (nobody sees them).
#include "app/QtScheduler.h"
#include "engine/VideoEdit.h"

#include <QCoreApplication>

namespace pellucor::cli {

class Headless {
public:
    Headless() : app_(argc_, argv_), edit(scheduler) { edit.Video_Preview_Enabled = false; }
    Headless(const Headless&) = delete;
    Headless& operator=(const Headless&) = delete;

    int exec() { return QCoreApplication::exec(); }

private:
    int argc_ = 1;
    char name_[13] = "pellucor-cli";
    char* argv_[2] = {name_, nullptr};
    QCoreApplication app_;

public:
    app::QtScheduler scheduler;
    engine::VideoEdit edit;
};

} // namespace pellucor::cli
