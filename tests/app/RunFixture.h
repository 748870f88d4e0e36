#pragma once
// The real window with the real engine: short AVI files made at test time, and a loop that
// moves the manual clock while the engine's and the watcher's threads do their real work.
#include "FormFixture.h"

#include "engine/VideoEdit.h"
#include "fixtures/AviFixture.h"

#include <QCoreApplication>
#include <QPlainTextEdit>

#include <chrono>
#include <filesystem>
#include <functional>

namespace pellucor::app::test {

class RunFixture : public FormFixture {
public:
    // A small clip of the given length, written into dir.
    QString clip(const std::string& name, double seconds = 0.4, int width = 160, int height = 120) const {
        fixtures::AviSpec spec;
        spec.seconds = seconds;
        spec.width = width;
        spec.height = height;
        return QString::fromStdString(fixtures::writeAvi(dir / name, spec));
    }
    std::filesystem::path folder(const std::string& name) const {
        std::filesystem::create_directories(dir / name);
        return dir / name;
    }
    // Moves the clock in 500 ms steps until done() holds; between steps it waits for whatever
    // the real threads post. False when the work did not get there within a generous limit.
    bool driveUntil(const std::function<bool()>& done, std::chrono::seconds limit = std::chrono::seconds(180)) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            scheduler.advance(std::chrono::milliseconds(500));
            QCoreApplication::processEvents();
            scheduler.waitForPosted(std::chrono::milliseconds(20));
        }
        return true;
    }
    QStringList memoLines() const {
        return find<QPlainTextEdit>("mmolog")->toPlainText().split(QLatin1Char('\n'));
    }
    // Files in folder (recursively), relative names; a job's temporary file may come and go
    // while the folder is read.
    std::vector<std::string> filesIn(const std::filesystem::path& root) const {
        std::vector<std::string> names;
        std::error_code ec;
        for (std::filesystem::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec))
            if (it->is_regular_file(ec)) names.push_back(it->path().lexically_relative(root).string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

} // namespace pellucor::app::test
