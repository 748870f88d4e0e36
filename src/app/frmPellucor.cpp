#include "app/frmPellucor.h"

#include "ui_frmPellucor.h"

#include "app/AboutBox.h"
#include "app/ActionLink.h"
#include "app/FileListRows.h"
#include "app/InputFileList.h"
#include "app/MenuStates.h"
#include "app/Pictures.h"
#include "app/PreviewPanel.h"
#include "app/ProfileLists.h"
#include "editor/UfrmEdit.h"
#include "engine/VideoEdit.h"
#include "hotdir/HotDirMode.h"
#include "hotdir/MonitorHub.h"
#include "hotdir/uHotDir.h"
#include "lang/StringTable.h"
#include "lang/forms/ApplyLanguage.h"
#include "settings/cdSettings.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMenu>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>

namespace pellucor::app {
namespace {

const QString kTitle = QStringLiteral("Tamrix free Pellucor");
constexpr int kClientWidth = 838;
constexpr int kClientHeight = 532;
constexpr int kPanelWidths[TfrmPellucor::kStatusPanels] = {200, 200, 200, 10, 300};
constexpr int kProgressPanel = 2;  // FProgressBar lies over this panel

} // namespace

TfrmPellucor::TfrmPellucor(Scheduler& scheduler, QWidget* parent)
    : QMainWindow(parent),
      ui_(std::make_unique<Ui::frmPellucor>()),
      scheduler_(scheduler),
      trayAvailable_(QSystemTrayIcon::isSystemTrayAvailable()) {
    // The design-time state: widgets, action bindings, list items, pictures.
    ui_->setupUi(this);
    VideoEdit = std::make_unique<engine::VideoEdit>(scheduler_);
    VideoEdit->OnPreview = [this](const engine::PreviewPicture& picture) {
        ui_->pnlpreview->showPicture(picture.width, picture.height, picture.rgb);
    };
    files_ = std::make_unique<InputFileList>(ui_->lvFiles, scheduler_);
    profiles_ = std::make_unique<ProfileLists>(std::array<QComboBox*, 6>{
        ui_->cbbmpeg, ui_->cbbmp4profile, ui_->cbbwmvprofile, ui_->cbbflvprofile,
        ui_->cbbmovprofile, ui_->cbbMP3profile});
    linkActions();
    createStatusPanels();
    setWindowIcon(AppIcon());
    // A fixed frame: system menu, minimise and close, no maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    ui_->imgHeader->setPixmap(ModeBanner(kClientWidth, 72));
    ui_->btnAdd->setIcon(GlyphIcon(Glyph::Add));
    ui_->btnAddFolder->setIcon(GlyphIcon(Glyph::AddFolder));
    ui_->btnRemove->setIcon(GlyphIcon(Glyph::Remove));
    ui_->btnClear->setIcon(GlyphIcon(Glyph::Clear));
    ui_->btnsbtrun->setIcon(GlyphIcon(Glyph::Run));
    ui_->btnsbtend->setIcon(GlyphIcon(Glyph::End));
    ui_->btnmin->setIcon(GlyphIcon(Glyph::Minimize));
    ui_->btnsbtend->setEnabled(false);
    ui_->btnmin->setEnabled(false);
    connectHandlers();
    connectBatchHandlers();
    connectHotDirHandlers();

    // FormCreate.
    lang::ApplyLanguage(this, lang::LanguageFile);
    QGuiApplication::setApplicationDisplayName(kTitle);
    setWindowTitle(kTitle);
    ui_->mmolog->clear();
    FFormatPage = AppSettings->PageIndex;
    // The list toolbar shows pictures only; the hints stay.
    for (QToolButton* b : {ui_->btnAdd, ui_->btnAddFolder, ui_->btnRemove, ui_->btnClear}) b->setText(QString());
    FMode = ModePage;
    // btnStopConvert shares btnConvert's place: only one of the two is ever visible.
    ui_->btnStopConvert->hide();
    ui_->pnloperate->hide();
    ShowPage(ui_->tsMode);
    // Files may be dropped anywhere on the window: children that would take a drop for
    // themselves (edits, the memo) leave it to the window.
    setAcceptDrops(true);
    for (QWidget* w : findChildren<QWidget*>()) w->setAcceptDrops(false);
    ui_->lvFiles->viewport()->installEventFilter(this);
    UpdateListActions();
    UpdateMenuStates();
    LoadHotDirSettings();
    fitWindow();
}

TfrmPellucor::~TfrmPellucor() {
    // The modes go first, then the component, whose destructor waits for a job still ending;
    // its events are silenced so that nothing reaches the widgets while they go.
    hotDir_.reset();
    FMonitor.reset();
    hub_.reset();
    batch_.reset();
    VideoEdit->OnStart = nullptr;
    VideoEdit->OnProgress = nullptr;
    VideoEdit->OnError = nullptr;
    VideoEdit->OnStop = nullptr;
    VideoEdit->OnPreview = nullptr;
    VideoEdit.reset();
    if (batchRunning_) QGuiApplication::restoreOverrideCursor();
}

void TfrmPellucor::LoadHotDirSettings() {
    ui_->edtlog->setText(QString::fromStdString(AppSettings->LogDir));
    ui_->edtindir->setText(QString::fromStdString(AppSettings->Indir));
    ui_->edtoutdir->setText(QString::fromStdString(AppSettings->OutDir));
    ui_->chksubdir->setChecked(AppSettings->SubDir);
}

PreviewPanel& TfrmPellucor::previewPanel() { return *ui_->pnlpreview; }

void TfrmPellucor::createStatusPanels() {
    QStatusBar* bar = ui_->stat1;
    for (int i = 0; i < kStatusPanels; ++i) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("stat1Panel%1").arg(i));
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        // The last panel takes whatever width is left, so the five never push the window wider.
        if (i + 1 < kStatusPanels) panel->setFixedWidth(kPanelWidths[i]);
        else panel->setMinimumWidth(0);
        bar->addWidget(panel, i + 1 < kStatusPanels ? 0 : 1);
        statusPanels_[i] = panel;
    }
    auto* layout = new QHBoxLayout(statusPanels_[kProgressPanel]);
    layout->setContentsMargins(1, 1, 1, 1);
    FProgressBar = new QProgressBar(statusPanels_[kProgressPanel]);
    FProgressBar->setObjectName(QStringLiteral("FProgressBar"));
    FProgressBar->setRange(0, 100);
    FProgressBar->setTextVisible(false);
    layout->addWidget(FProgressBar);
    FProgressBar->hide();
}

void TfrmPellucor::linkActions() {
    Ui::frmPellucor& u = *ui_;
    // Buttons.
    LinkAction(u.actNext, u.btnNext);
    LinkAction(u.actHotDir, u.btnHotdirectory);
    LinkAction(u.actReturnmode, u.btnsbtreturn);
    LinkAction(u.actadd, u.btnAdd);
    LinkAction(u.actAddFolder, u.btnAddFolder);
    LinkAction(u.actRemove, u.btnRemove);
    LinkAction(u.actClear, u.btnClear);
    LinkAction(u.actConvert, u.btnConvert);
    LinkAction(u.actStopConvert, u.btnStopConvert);
    for (QPushButton* b : {u.btnmpegedit, u.btnmp4edit, u.btnwmvedit, u.btnflvedit, u.btnmovedit, u.btnmp3edit})
        LinkAction(u.actEdit, b);
    LinkAction(u.actSelIndir, u.btnselectindir);
    LinkAction(u.actSelOutdir, u.btnselectoutdir);
    LinkAction(u.actSelLogdir, u.btnselectlogfile);
    LinkAction(u.actOpenIndir, u.btnopeninputdir);
    LinkAction(u.actOpenOutdir, u.btnopenoutputdir);
    LinkAction(u.actOpenLogdir, u.btnviewlog);
    // Menu entries.
    LinkAction(u.actadd, u.mniAdd);
    LinkAction(u.actAddFolder, u.mniAddFolder);
    LinkAction(u.actRemove, u.mniRemove);
    LinkAction(u.actClear, u.mniClear);
    LinkAction(u.actConvert, u.mniConvert);
    LinkAction(u.actStopConvert, u.mniStopConvert);
    LinkAction(u.actHotDir, u.mniHotDir);
    LinkAction(u.actReturnmode, u.mniReturntoBatchMode, LinkCaption::KeepOwn);
    LinkAction(u.actadd, u.mniPopAdd);
    LinkAction(u.actAddFolder, u.mniPopAddFolder);
    LinkAction(u.actRemove, u.mniPopRemove);
    LinkAction(u.actClear, u.mniPopClear);
    LinkAction(u.actOpenFolder, u.mniPopOpenFolder);

    // The two popup menus, which a main-window design cannot hold.
    auto* pmFiles = new QMenu(this);
    pmFiles->setObjectName(QStringLiteral("pmFiles"));
    pmFiles->addActions({u.mniPopAdd, u.mniPopAddFolder});
    pmFiles->addSeparator();
    pmFiles->addActions({u.mniPopSelectAll, u.mniPopRemove, u.mniPopClear, u.mniPopRemoveFailed,
                         u.mniPopRemoveSucceeded});
    pmFiles->addSeparator();
    pmFiles->addActions({u.mniPopOpen, u.mniPopOpenFolder, u.mniPopProperties});
    auto* pmTray = new QMenu(this);
    pmTray->setObjectName(QStringLiteral("pmTray"));
    pmTray->addAction(u.mniShow);
    pmTray->addSeparator();
    pmTray->addAction(u.mniTrayAbout);
    pmTray->addSeparator();
    pmTray->addAction(u.mniClose);
}

void TfrmPellucor::connectHandlers() {
    Ui::frmPellucor& u = *ui_;
    connect(u.actNext, &QAction::triggered, this, &TfrmPellucor::actNextExecute);
    connect(u.actHotDir, &QAction::triggered, this, &TfrmPellucor::actHotDirExecute);
    connect(u.actReturnmode, &QAction::triggered, this, &TfrmPellucor::actReturnmodeExecute);
    connect(u.btn1, &QPushButton::clicked, this, &TfrmPellucor::AboutClick);
    connect(u.btnAbout, &QPushButton::clicked, this, &TfrmPellucor::AboutClick);
    connect(u.btnHelp, &QPushButton::clicked, this, &TfrmPellucor::HelpClick);
    connect(u.mniAbout, &QAction::triggered, this, &TfrmPellucor::AboutClick);
    connect(u.mniHelpTopics, &QAction::triggered, this, &TfrmPellucor::HelpClick);
    connect(u.mniTrayAbout, &QAction::triggered, this, &TfrmPellucor::AboutClick);
    connect(u.btnexit, &QPushButton::clicked, this, &TfrmPellucor::Terminate);
    connect(u.mniExit, &QAction::triggered, this, &TfrmPellucor::Terminate);
    connect(u.mniShow, &QAction::triggered, this, &TfrmPellucor::RestoreFromTray);
    connect(u.mniClose, &QAction::triggered, this, &TfrmPellucor::Terminate);
    connect(u.btnmin, &QToolButton::clicked, this, &TfrmPellucor::MinimizeToTray);
    connect(u.pgcConvert, &QTabWidget::currentChanged, this, &TfrmPellucor::pgcConvertChange);
    const QAction* formatEntries[] = {u.mniFormatMPEG, u.mniFormatMP4, u.mniFormatWMV,
                                      u.mniFormatFLV, u.mniFormatMOV, u.mniFormatMP3};
    for (int i = 0; i < 6; ++i)
        connect(formatEntries[i], &QAction::triggered, this, [this, i] { FormatMenuClick(i); });
    connect(u.actEdit, &QAction::triggered, this, &TfrmPellucor::actEditExecute);
    for (QComboBox* list : profiles_->lists())
        connect(list, &QComboBox::activated, this, &TfrmPellucor::cbbmpegClick);

    // The file list.
    connect(u.actadd, &QAction::triggered, this, &TfrmPellucor::actaddExecute);
    connect(u.actAddFolder, &QAction::triggered, this, &TfrmPellucor::actAddFolderExecute);
    connect(u.actRemove, &QAction::triggered, this, &TfrmPellucor::actRemoveExecute);
    connect(u.actClear, &QAction::triggered, this, &TfrmPellucor::actClearExecute);
    connect(u.actOpenFolder, &QAction::triggered, this, &TfrmPellucor::actOpenFolderExecute);
    connect(u.mniSelectAll, &QAction::triggered, this, &TfrmPellucor::SelectAllClick);
    connect(u.mniPopSelectAll, &QAction::triggered, this, &TfrmPellucor::SelectAllClick);
    connect(u.mniPopRemoveFailed, &QAction::triggered, this, &TfrmPellucor::RemoveFailedClick);
    connect(u.mniPopRemoveSucceeded, &QAction::triggered, this, &TfrmPellucor::RemoveSucceededClick);
    connect(u.mniPopOpen, &QAction::triggered, this, &TfrmPellucor::OpenClick);
    connect(u.mniPopProperties, &QAction::triggered, this, &TfrmPellucor::PropertiesClick);
    connect(u.lblExample, &LinkLabel::clicked, this, &TfrmPellucor::ExampleClick);
    connect(u.lvFiles->header(), &QHeaderView::sectionClicked, this, &TfrmPellucor::lvFilesColumnClick);
    connect(u.lvFiles, &QWidget::customContextMenuRequested, this, &TfrmPellucor::lvFilesContextPopup);
}

void TfrmPellucor::fitWindow() {
    // The client area keeps its design size wherever the content fits in it; with larger fonts
    // the window grows rather than clip anything.
    const int menuHeight = menuBar()->sizeHint().height();
    const QSize design(kClientWidth, kClientHeight + menuHeight);
    setFixedSize(design.expandedTo(minimumSizeHint()));
}

// --- Pages and modes --------------------------------------------------------------------------

void TfrmPellucor::ShowPage(QWidget* page) { ui_->pageConvert->setCurrentWidget(page); }

void TfrmPellucor::enterBatchMode() {
    ui_->pnloperate->show();
    for (QWidget* w : {static_cast<QWidget*>(ui_->btnsbtrun), static_cast<QWidget*>(ui_->btnsbtend),
                       static_cast<QWidget*>(ui_->btnsbtreturn), static_cast<QWidget*>(ui_->btnmin)})
        w->hide();
    ui_->pnlhotbuttons->hide();
    ui_->Panel1->show();
    ui_->pnllog->show();
    FMode = ModeBatch;
    ShowPage(ui_->tsConvert);
    UpdateMenuStates();
    fitWindow();
}

void TfrmPellucor::enterHotDirectoryMode() {
    ui_->pnloperate->show();
    ui_->Panel1->hide();
    ui_->pnllog->hide();
    ui_->pnlhotbuttons->show();
    for (QWidget* w : {static_cast<QWidget*>(ui_->btnsbtrun), static_cast<QWidget*>(ui_->btnsbtend),
                       static_cast<QWidget*>(ui_->btnsbtreturn), static_cast<QWidget*>(ui_->btnmin)})
        w->show();
    FMode = ModeHotDirectory;
    ShowPage(ui_->tsHotDirectory);
    UpdateMenuStates();
    fitWindow();
}

void TfrmPellucor::actNextExecute() {
    // Two separate tests, as the wizard was built: with both radio buttons off nothing changes.
    if (ui_->rbtbatch->isChecked()) enterBatchMode();
    if (ui_->rbrdohotdir->isChecked()) enterHotDirectoryMode();
}

void TfrmPellucor::actHotDirExecute() { enterHotDirectoryMode(); }

void TfrmPellucor::actReturnmodeExecute() { enterBatchMode(); }

MenuStates TfrmPellucor::menuStates() const {
    MenuStates s = batchRunning_ ? RunMenuStates(true) : MenuStatesFor(FMode, files_->rowCount() > 0);
    // While watching, neither the output format nor the mode may change.
    if (hotDir_->Running()) s.format = s.returnMode = false;
    return s;
}

void TfrmPellucor::UpdateMenuStates() {
    const MenuStates s = menuStates();
    Ui::frmPellucor& u = *ui_;
    u.mniAdd->setEnabled(s.add);
    u.mniAddFolder->setEnabled(s.addFolder);
    u.mniSelectAll->setEnabled(s.selectAll);
    u.mniRemove->setEnabled(s.remove);
    u.mniClear->setEnabled(s.clear);
    u.mniformat->menuAction()->setEnabled(s.format);
    u.mniConvert->setEnabled(s.convert);
    u.mniStopConvert->setEnabled(s.stopConvert);
    u.mniHotDir->setEnabled(s.hotDir);
    u.mniReturntoBatchMode->setEnabled(s.returnMode);
}

void TfrmPellucor::UpdateListActions() {
    const bool hasRows = files_->rowCount() > 0;
    Ui::frmPellucor& u = *ui_;
    for (QAction* a : {u.actOpenFolder, u.mniPopSelectAll, u.mniPopProperties, u.mniPopOpen})
        a->setEnabled(hasRows);
    // During a run the rows keep their places: rows may be added, but nothing removes, clears
    // or starts a second run.
    for (QAction* a : {u.actConvert, u.actRemove, u.actClear, u.mniPopRemoveFailed, u.mniPopRemoveSucceeded})
        a->setEnabled(hasRows && !batchRunning_);
    u.pnlempty->setVisible(!hasRows);
    // The menu entries that depend on the list follow the table of the current mode, so that a
    // file dropped on the Mode or Hot Directory page cannot switch on Convert there.
    const MenuStates s = menuStates();
    u.mniSelectAll->setEnabled(s.selectAll);
    u.mniRemove->setEnabled(s.remove);
    u.mniClear->setEnabled(s.clear);
    u.mniConvert->setEnabled(s.convert);
}

// --- Format pages and presets -----------------------------------------------------------------

void TfrmPellucor::pgcConvertChange(int index) {
    FFormatPage = index;
    AppSettings->PageIndex = FFormatPage;
}

void TfrmPellucor::FormatMenuClick(int index) {
    {
        const QSignalBlocker quiet(ui_->pgcConvert);
        ui_->pgcConvert->setCurrentIndex(index);
    }
    pgcConvertChange(ui_->pgcConvert->currentIndex());
}

void TfrmPellucor::cbbmpegClick() { ApplyProfilePreset(); }

void TfrmPellucor::actEditExecute() {
    // The editor re-applies the selected preset of the current format before it shows its values.
    editor::RunProfileEditor(this, FFormatPage, [this] { ApplyProfilePreset(); });
}

void TfrmPellucor::ApplyProfilePreset() { profiles_->ApplyProfilePreset(FFormatPage, *AppSettings); }

void TfrmPellucor::StorePresetSelections() { profiles_->StoreSelections(*AppSettings); }

void TfrmPellucor::AppendMemo(const QString& line) { ui_->mmolog->appendPlainText(line); }

// --- Form events ------------------------------------------------------------------------------

void TfrmPellucor::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (event->spontaneous()) return;  // the window system restoring a minimised window
    // FormShow: runs at start-up and on every return from the notification area.
    {
        const QSignalBlocker quiet(ui_->pgcConvert);  // the program's own choice raises no change
        ui_->pgcConvert->setCurrentIndex(FFormatPage);
    }
    profiles_->RestoreSelections(*AppSettings);
    QWidget* page = FMode == ModeBatch ? ui_->tsConvert
                    : FMode == ModeHotDirectory ? ui_->tsHotDirectory
                                                : ui_->tsMode;
    ShowPage(page);
}

void TfrmPellucor::closeEvent(QCloseEvent* event) {
    // FormClose: the window goes for good; the settings are saved by their module after main's
    // event loop ends. The run or the watching ends now; the component's destructor waits for
    // the stopped job (which removes its partial output) when the window is freed.
    if (batchRunning_) batch_->Stop();
    if (hotDir_->Running()) {
        hotDir_->End();
        SetHotDirRunning(false);
    }
    if (VideoEdit->IsRunning()) VideoEdit->Stop();
    removeTrayIcon();
    event->accept();
    emit formClosed();
}

void TfrmPellucor::Terminate() { close(); }

// --- Tray -------------------------------------------------------------------------------------

void TfrmPellucor::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized() && trayAvailable_ && !trayIcon_) {
        // Hiding inside the state change confuses some window managers: do it right after.
        QTimer::singleShot(0, this, [this] {
            if (isMinimized() && !trayIcon_) MinimizeToTray();
        });
    }
}

void TfrmPellucor::MinimizeToTray() {
    if (!trayAvailable_) {
        showMinimized();
        return;
    }
    hide();
    if (trayIcon_) return;
    trayIcon_ = new QSystemTrayIcon(AppIcon(), this);
    trayIcon_->setObjectName(QStringLiteral("trayIcon"));
    trayIcon_->setToolTip(kTitle);
    trayIcon_->setContextMenu(findChild<QMenu*>(QStringLiteral("pmTray")));
    connect(trayIcon_, &QSystemTrayIcon::activated, this, &TfrmPellucor::trayActivated);
    trayIcon_->show();
}

void TfrmPellucor::RestoreFromTray() {
    removeTrayIcon();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void TfrmPellucor::removeTrayIcon() {
    if (!trayIcon_) return;
    trayIcon_->hide();
    trayIcon_->deleteLater();  // we may be inside the icon's own signal
    trayIcon_ = nullptr;
}

bool TfrmPellucor::trayIconShown() const { return !trayIcon_.isNull(); }

void TfrmPellucor::trayActivated(QSystemTrayIcon::ActivationReason reason) {
    // A left click brings the window back; the right button opens pmTray by itself.
    if (reason == QSystemTrayIcon::Trigger) RestoreFromTray();
}

// --- About and help ---------------------------------------------------------------------------

void TfrmPellucor::AboutClick() { AboutBox::showAbout(this); }

void TfrmPellucor::HelpClick() { AboutBox::showHelp(this); }

} // namespace pellucor::app
