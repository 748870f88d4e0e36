#pragma once
// One QApplication for a whole widget test binary, on the platform the test runner chose
// (offscreen unless told otherwise).
#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace pellucor::editor::test {

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override { app_ = std::make_unique<QApplication>(argc_, argv_); }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[16] = "editor_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

// Registered once however many test files include this header.
inline const auto* const kQtEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

} // namespace pellucor::editor::test
