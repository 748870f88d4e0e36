#pragma once
// One application object (the program's own) for a whole test binary, on the offscreen platform unless the caller chose
// another (the screenshot run uses xcb under Xvfb).
#include "app/Application.h"

#include <memory>

#include <gtest/gtest.h>

namespace pellucor::app::test {

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        // Several test files of one binary each register the environment; the first makes it.
        if (!QCoreApplication::instance()) app_ = std::make_unique<Application>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }  // the environments are torn down in reverse

private:
    int argc_ = 1;
    char name_[16] = "app_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<Application> app_;
};

} // namespace pellucor::app::test
