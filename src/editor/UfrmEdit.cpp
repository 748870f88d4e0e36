#include "editor/UfrmEdit.h"

#include "ui_UfrmEdit.h"

#include "editor/DigitFilter.h"
#include "editor/PageLists.h"
#include "editor/ProfilePage.h"
#include "editor/WidgetPageControls.h"
#include "lang/StringTable.h"
#include "lang/forms/ApplyLanguage.h"
#include "settings/cdSettings.h"

#include <QComboBox>
#include <QPointer>
#include <QShowEvent>
#include <QtDebug>

namespace pellucor::editor {

namespace {

constexpr int kWmv92Codec = 1;

} // namespace

TfrmEdit::TfrmEdit(TcdSettings& settings, int format,
                   const std::function<void()>& applyProfilePreset,
                   const std::string& languageFile, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmEdit>()), settings_(settings), format_(format)
{
    ui_->setupUi(this);
    // A fixed dialog frame: no resizing, no minimise or maximise button.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(446, 514);

    InstallDigitFilter(ui_->edtPeakbitrate);
    InstallDigitFilter(ui_->edtauPeakbitrate);

    // activated, not currentIndexChanged: the rules answer the user's choice only, never the
    // selections that opening makes.
    connect(ui_->cbbwmvmode, &QComboBox::activated, this, &TfrmEdit::cbbwmvmodeChange);
    connect(ui_->cbbaudioCodec, &QComboBox::activated, this, &TfrmEdit::cbbaudioCodecChange);
    connect(ui_->btnOK, &QPushButton::clicked, this, &TfrmEdit::btnOKClick);
    connect(ui_->btnCancel, &QPushButton::clicked, this, &TfrmEdit::btnCancelClick);

    FormCreate(languageFile, applyProfilePreset);
}

TfrmEdit::~TfrmEdit() = default;

void TfrmEdit::FormCreate(const std::string& languageFile,
                          const std::function<void()>& applyProfilePreset)
{
    lang::ApplyLanguage(this, languageFile);

    // A new dialog shows no selection in any list; only the current page is filled later. This
    // comes after the language file, which may have re-filled a list.
    for (QComboBox* combo : findChildren<QComboBox*>()) combo->setCurrentIndex(-1);

    // The three WMV format lists stand in one cell of their grid, so they share one place; the
    // 9.2 list shows until the codec says otherwise.
    WidgetPageControls page(*this);
    ShowFormatListOf(page, kWmv92Codec);

    if (applyProfilePreset) applyProfilePreset();
}

void TfrmEdit::ShowFormatPage(int page)
{
    if (page < 0 || page >= ui_->pgcedit->count()) return;
    ui_->pgcedit->setCurrentIndex(page);
}

void TfrmEdit::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous() && !filled_) FormShow();
}

void TfrmEdit::FormShow()
{
    filled_ = true;
    WidgetPageControls page(*this);
    FillPage(format_, settings_, page);
}

void TfrmEdit::cbbwmvmodeChange()
{
    WidgetPageControls page(*this);
    ApplyModeChange(page, settings_);
}

void TfrmEdit::cbbaudioCodecChange()
{
    WidgetPageControls page(*this);
    ApplyAudioCodecChange(page);
}

void TfrmEdit::btnOKClick()
{
    WidgetPageControls page(*this);
    WritePage(format_, page, settings_);
    accept();
}

void TfrmEdit::btnCancelClick() { reject(); }

int RunProfileEditor(QWidget* parent, int format, const std::function<void()>& applyProfilePreset)
{
    if (!AppSettings) {
        qWarning("profile editor opened before the settings exist");
        return QDialog::Rejected;
    }
    // The parent deletes its children when it goes first (the application quitting inside the
    // modal loop); QPointer knows, so the dialog is released exactly once either way.
    struct Release {
        QPointer<TfrmEdit> dialog;
        ~Release() { delete dialog.data(); }
    } owner{new TfrmEdit(*AppSettings, format, applyProfilePreset, lang::LanguageFile, parent)};

    owner.dialog->setWindowTitle(QString::fromStdString(EditCaption(format)));
    owner.dialog->ShowFormatPage(format);
    return owner.dialog->exec();
}

} // namespace pellucor::editor
