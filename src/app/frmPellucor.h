#pragma once
// TfrmPellucor (form name frmPellucor): the main window. A wizard of three pages (Mode, Convert,
// Hot Directory) over the operations panel, with the input file list, the six format pages and
// their preset lists, menus, the status bar and the tray icon.
//
// The form is thin: the file list's rules live in InputFileList and FileListRules, the menu
// tables in MenuStates, the presets in ProfileLists; dialogs go through Dialogs. The form owns
// every long-lived object of the window; the settings belong to their module. Main thread only.
#include "conversion/BatchDriver.h"
#include "platform/Scheduler.h"

#include <QMainWindow>
#include <QPointer>
#include <QSystemTrayIcon>

#include <memory>

class QLabel;
class QProgressBar;
class QWidget;

namespace Ui {
class frmPellucor;
}

namespace pellucor::engine {
class VideoEdit;
}
namespace pellucor::hotdir {
class DirectoryMonitor;
class HotDirMode;
class MonitorHub;
} // namespace pellucor::hotdir

namespace pellucor::app {

class FileListRows;
class InputFileList;
class PreviewPanel;
class ProfileLists;
struct MenuStates;

// The window is the batch run's view: BatchDriver tells it what to show through BatchView.
class TfrmPellucor : public QMainWindow, private conversion::BatchView {
    Q_OBJECT
public:
    // The mode of the page state machine (FMode).
    enum Mode { ModePage = 0, ModeBatch = 1, ModeHotDirectory = 2 };
    static constexpr int kStatusPanels = 5;

    // Builds the window (FormCreate). The scheduler outlives the window.
    explicit TfrmPellucor(Scheduler& scheduler, QWidget* parent = nullptr);
    ~TfrmPellucor() override;

    Ui::frmPellucor& ui() { return *ui_; }
    InputFileList& fileList() { return *files_; }
    engine::VideoEdit& videoEdit() { return *VideoEdit; }
    ProfileLists& profileLists() { return *profiles_; }
    PreviewPanel& previewPanel();
    QProgressBar& progressBar() { return *FProgressBar; }
    QLabel& statusPanel(int index) { return *statusPanels_[index]; }

    hotdir::HotDirMode& hotDirMode() { return *hotDir_; }
    hotdir::DirectoryMonitor& monitor() { return *FMonitor; }
    bool batchRunning() const { return batchRunning_; }

    int mode() const { return FMode; }
    int formatPage() const { return FFormatPage; }  // FFormatPage, 0 MPEG ... 5 MP3

    // Operations the batch run and the editor hook into.
    void ShowPage(QWidget* page);
    void UpdateMenuStates();
    void UpdateListActions();
    void ApplyProfilePreset();       // writes the current format's selected preset
    void StorePresetSelections();    // the six selections into MPEGCbbIdx and its sisters
    void AppendMemo(const QString& line);

    // Minimise to the notification area (btnmin, the window's own minimise); where the desktop
    // has no tray the window is minimised normally, so it can always be brought back.
    void MinimizeToTray();
    void RestoreFromTray();
    bool trayIconShown() const;
    // Tests and desktops without a tray: whether MinimizeToTray hides the window behind an icon.
    void setTrayAvailable(bool available) { trayAvailable_ = available; }

    // Ends the program the orderly way (Exit, tray Close, SIGTERM, logout): the window closes,
    // running work is stopped, and formClosed tells main to leave the event loop.
    void Terminate();

signals:
    void formClosed();

protected:
    void showEvent(QShowEvent* event) override;    // FormShow
    void closeEvent(QCloseEvent* event) override;  // FormClose
    void changeEvent(QEvent* event) override;      // minimise to the tray
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createStatusPanels();
    MenuStates menuStates() const;  // the File and Action entries for the mode and run state
    void LoadHotDirSettings();
    void linkActions();
    void connectHandlers();
    void fitWindow();
    void enterBatchMode();
    void enterHotDirectoryMode();

    // Handlers.
    void actNextExecute();
    void actHotDirExecute();
    void actReturnmodeExecute();
    void pgcConvertChange(int index);
    void FormatMenuClick(int index);
    void cbbmpegClick();
    void actEditExecute();
    void actaddExecute();
    void actAddFolderExecute();
    void actRemoveExecute();
    void actClearExecute();
    void SelectAllClick();
    void RemoveFailedClick();
    void RemoveSucceededClick();
    void OpenClick();
    void actOpenFolderExecute();
    void PropertiesClick();
    void ExampleClick();
    void lvFilesColumnClick(int column);
    void lvFilesContextPopup(const QPoint& pos);
    void AboutClick();
    void HelpClick();
    void trayActivated(QSystemTrayIcon::ActivationReason reason);
    void removeTrayIcon();

    // Batch run (frmPellucorBatch.cpp).
    void connectBatchHandlers();
    void actConvertExecute();
    void actStopConvertExecute();
    void EnableRunControls(bool on);
    void setRunning(bool running) override;
    void storePresetSelections() override;
    void appendMemo(const std::string& line) override;
    void showProgress(int percent) override;
    void resetProgress() override;
    void hideProgress() override;
    void warnMissingFile(const std::string& path) override;
    void runEnded(const std::string& lastOutput) override;

    // The component's events, passed on by mode.
    void VideoEditStart();
    void VideoEditProgress(int percent);
    void VideoEditError(int code, const std::string& text);
    void VideoEditStop();

    // Hot Directory page (frmPellucorHotDir.cpp).
    void connectHotDirHandlers();
    void btnsbtrunClick();
    void btnsbtendClick();
    void SetHotDirRunning(bool running);
    void actSelIndirExecute();
    void actSelOutdirExecute();
    void actSelLogdirExecute();
    void actOpenIndirExecute();
    void actOpenOutdirExecute();
    void actOpenLogdirExecute();
    void hotDirProblem(const std::string& text);

    std::unique_ptr<Ui::frmPellucor> ui_;
    Scheduler& scheduler_;
    // The conversion component; its preview pictures go to pnlpreview.
    std::unique_ptr<engine::VideoEdit> VideoEdit;
    std::unique_ptr<InputFileList> files_;
    std::unique_ptr<ProfileLists> profiles_;
    std::unique_ptr<FileListRows> batchRows_;
    std::unique_ptr<conversion::BatchDriver> batch_;
    std::unique_ptr<hotdir::MonitorHub> hub_;
    std::unique_ptr<hotdir::DirectoryMonitor> FMonitor;
    std::unique_ptr<hotdir::HotDirMode> hotDir_;
    QProgressBar* FProgressBar = nullptr;  // owned by its status panel
    QLabel* statusPanels_[kStatusPanels] = {};
    QPointer<QSystemTrayIcon> trayIcon_;  // a child of the window, only while it is hidden in the tray
    bool trayAvailable_;

    int FMode = ModePage;
    int FFormatPage = 0;
    bool batchRunning_ = false;  // between Convert and the run's end or Stop; the busy cursor is on
    std::string lastProblem_;    // the hot-directory problem shown last, not repeated
};

} // namespace pellucor::app
