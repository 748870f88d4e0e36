#pragma once
// The real main window on the offscreen platform, with its settings in a temporary hive, the
// string-table entries it shows filled with known texts, no language file, a manual clock and
// every dialog answered by the test.
#include "app/Dialogs.h"
#include "app/InputFileList.h"
#include "app/frmPellucor.h"
#include "fixtures/TempDir.h"
#include "lang/StringTable.h"
#include "ManualScheduler.h"
#include "settings/SettingsModule.h"
#include "settings/cdSettings.h"

#include <QAction>
#include <QWidget>

#include <fstream>
#include <memory>

#include <gtest/gtest.h>

namespace pellucor::app::test {

class FormFixture : public ::testing::Test {
public:
    void SetUp() override {
        module = std::make_unique<SettingsModule>(dir / "user.reg");
        lang::LanguageFile = (dir / "none.lng").string();
        for (int i : {12, 13, 14}) lang::StringTable[i] = "entry " + std::to_string(i);
        script = std::make_unique<Dialogs::Script>();
    }
    void TearDown() override {
        form.reset();
        script.reset();
        module.reset();
        for (auto& s : lang::StringTable) s.clear();
    }
    // Builds and shows the window: FormCreate, then FormShow.
    TfrmPellucor& open() {
        form = std::make_unique<TfrmPellucor>(scheduler);
        form->setTrayAvailable(false);
        form->show();
        return *form;
    }
    template <typename T = QWidget>
    T* find(const char* name) const {
        T* found = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << "no " << name;
        return found;
    }
    QAction* action(const char* name) const { return find<QAction>(name); }
    void trigger(const char* name) const {
        QAction* a = action(name);
        ASSERT_TRUE(a->isEnabled()) << name << " is off";
        a->trigger();
    }
    QString file(const std::string& name, std::size_t bytes = 0) const {
        std::ofstream(dir / name, std::ios::binary) << std::string(bytes, 'v');
        return QString::fromStdString((dir / name).string());
    }
    InputFileList& list() { return form->fileList(); }
    QStringList captions() {
        QStringList out;
        for (int i = 0; i < list().rowCount(); ++i) out << list().caption(i);
        return out;
    }
    void settleSizes() {
        list().waitForSizeReader();
        scheduler.runPosted();
    }

    fixtures::TempDir dir;
    pellucor::test::ManualScheduler scheduler;
    std::unique_ptr<SettingsModule> module;
    std::unique_ptr<Dialogs::Script> script;
    std::unique_ptr<TfrmPellucor> form;
};

} // namespace pellucor::app::test
