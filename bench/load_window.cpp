// Load benchmark, window side: thousands of rows in the main window's file list (InputFileList
// on a QTreeWidget, offscreen), then converted by the batch driver and the real component on the
// Qt event loop, while a 10 ms probe timer measures how late the event loop gets to it.
//
//   load-window --out DIR [--format N] FILE...      (run with QT_QPA_PLATFORM=offscreen)
//
// Prints "name value" lines for bench/load-bench.sh. Between jobs the next row starts at once, as
// pellucor-cli convert does, instead of on the window's 500 ms beat: with thousands of tiny files
// the beat alone would be the whole run.
#include "app/InputFileList.h"
#include "app/QtScheduler.h"
#include "conversion/BatchDriver.h"
#include "conversion/OutputName.h"
#include "engine/VideoEdit.h"
#include "settings/cdSettings.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <map>
#include <string>
#include <vector>

using namespace pellucor;

namespace {

// How late each tick of a 10 ms timer comes: the time the event loop could not answer.
class LatencyProbe {
public:
    LatencyProbe() {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const qint64 now = clock_.nsecsElapsed();
            if (last_ >= 0) samples_.push_back((now - last_) / 1e6 - 10.0);
            last_ = now;
        });
        clock_.start();
        timer_.start();
    }
    // Max and 99th percentile of the lateness since the last call, in milliseconds.
    std::pair<double, double> take() {
        std::vector<double> s;
        s.swap(samples_);
        if (s.empty()) return {0, 0};
        std::sort(s.begin(), s.end());
        return {s.back(), s[s.size() * 99 / 100]};
    }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = -1;
    std::vector<double> samples_;
};

// The batch driver's view of the window's list.
struct ListRows : conversion::BatchRows {
    app::InputFileList& list;
    explicit ListRows(app::InputFileList& l) : list(l) {}
    int rowCount() const override { return list.rowCount(); }
    std::string fullPath(int r) const override { return list.fullPath(r).toStdString(); }
    std::string caption(int r) const override { return list.caption(r).toStdString(); }
    bool taken(int r) const override { return list.taken(r); }
    void setTaken(int r, bool t) override { list.setTaken(r, t); }
    void setPicture(int r, conversion::RowPicture p) override { list.setPicture(r, p); }
    void resetRow(int r) override {
        list.setInfoText(r, QString());
        list.setTaken(r, false);
        list.setPicture(r, conversion::PictureWaiting);
    }
};

struct CountingView : conversion::BatchView {
    std::map<std::string, int> converted;  // "Convert to" lines per output name
    int errors = 0;
    std::function<void()> ended;
    void setRunning(bool) override {}
    void storePresetSelections() override {}
    void appendMemo(const std::string& line) override {
        const auto at = line.find("]Convert to: ");
        if (at != std::string::npos) ++converted[line.substr(at + 13)];
        if (line.rfind("[Error message]: ", 0) == 0) {
            ++errors;
            std::cerr << line << "\n";
        }
    }
    void showProgress(int) override {}
    void resetProgress() override {}
    void hideProgress() override {}
    void warnMissingFile(const std::string& path) override { std::cerr << "missing: " << path << "\n"; }
    void runEnded(const std::string&) override { ended(); }
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::string out;
    int format = 3;  // FLV
    QStringList files;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--out" && i + 1 < argc) out = argv[++i];
        else if (a == "--format" && i + 1 < argc) format = std::stoi(argv[++i]);
        else files << QString::fromLocal8Bit(argv[i]);
    }
    if (out.empty() || files.isEmpty()) {
        std::cerr << "usage: load-window --out DIR [--format N] FILE...\n";
        return 2;
    }

    app::QtScheduler scheduler;
    QTreeWidget view;
    view.setColumnCount(5);
    view.resize(800, 600);
    view.show();
    app::InputFileList list(&view, scheduler);
    engine::VideoEdit edit(scheduler);
    edit.Video_Preview_Enabled = false;
    TcdSettings settings;  // defaults; RegistryKey empty: nothing is read or saved
    ListRows rows(list);
    CountingView memo;
    conversion::BatchDriver driver(scheduler, edit, settings, rows, memo);
    edit.OnStart = [&] { driver.VideoEditStart(); };
    edit.OnProgress = [&](int p) { driver.VideoEditProgress(p); };
    edit.OnError = [&](int code, const std::string& text) {
        driver.VideoEditError(code, text);
        scheduler.postToMain([&] { driver.Tick(); });
    };
    edit.OnStop = [&] {
        driver.VideoEditStop();
        scheduler.postToMain([&] { driver.Tick(); });
    };

    LatencyProbe probe;
    QElapsedTimer clock;
    double addMs = 0, sizesMs = 0, convertS = 0, convertStartMs = 0;
    std::pair<double, double> addLatency, convertLatency;
    QTimer sizesDone;

    memo.ended = [&] {
        convertS = clock.nsecsElapsed() / 1e9;
        convertLatency = probe.take();
        app.quit();
    };
    QTimer::singleShot(100, [&] {
        probe.take();  // start-up is not measured
        clock.start();
        list.AddFileList(files);
        addMs = clock.nsecsElapsed() / 1e6;
        // The sizes come back from the reader thread; the list is complete when every row has one.
        QObject::connect(&sizesDone, &QTimer::timeout, [&] {
            for (int r = 0; r < list.rowCount(); ++r)
                if (list.sizeText(r).isEmpty()) return;
            sizesDone.stop();
            sizesMs = clock.nsecsElapsed() / 1e6;
            addLatency = probe.take();
            clock.restart();
            if (!driver.Convert(out, format)) app.exit(1);
            convertStartMs = clock.nsecsElapsed() / 1e6;
            driver.Tick();
        });
        sizesDone.start(50);
    });
    if (app.exec() != 0) return 1;

    int convertedRows = 0, failedRows = 0;
    for (int r = 0; r < list.rowCount(); ++r) {
        convertedRows += list.picture(r) == conversion::PictureConverted;
        failedRows += list.picture(r) == conversion::PictureFailed;
    }
    int duplicates = 0;
    for (const auto& [name, count] : memo.converted) duplicates += count > 1;
    std::printf("rows %d\nadd_ms %.1f\nsizes_ms %.1f\nadd_max_latency_ms %.1f\nadd_p99_latency_ms %.1f\n"
                "convert_start_ms %.1f\nconvert_s %.1f\nconvert_max_latency_ms %.1f\nconvert_p99_latency_ms %.1f\n"
                "converted_rows %d\nfailed_rows %d\nconverted_names %zu\nduplicate_names %d\n",
                list.rowCount(), addMs, sizesMs, addLatency.first, addLatency.second, convertStartMs, convertS,
                convertLatency.first, convertLatency.second, convertedRows, failedRows, memo.converted.size(),
                duplicates);
    return 0;
}
