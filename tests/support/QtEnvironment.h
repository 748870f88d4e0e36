#pragma once
// One Qt application object for a whole test binary, on the offscreen platform unless the caller
// chose another (the screenshot runs use xcb under Xvfb). App is QApplication or a subclass such
// as the program's own. Several test files of one binary may each register the environment: the
// first one makes the application, the others find it.
#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace pellucor::test {

template <typename App = QApplication>
class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        if (!QCoreApplication::instance()) app_ = std::make_unique<App>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }  // the environments are torn down in reverse

private:
    int argc_ = 1;
    char name_[16] = "pellucor_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<App> app_;
};

} // namespace pellucor::test
