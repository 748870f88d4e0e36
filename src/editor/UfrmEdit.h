#pragma once
// The profile editor: the modal dialog in which the user sees and changes the custom profile of
// one output format, the per-format properties of the settings.
//
// The dialog shows one page of pgcedit, the current output format's, filled from the settings
// when it is shown. OK writes that page back into the settings in a fixed order; Cancel, Esc and
// the close button write nothing, except that a WMV mode change has already been stored when it
// was made. The rules themselves live in ProfilePage; this form reads and writes widgets only.
//
// Opening: the main window calls RunProfileEditor from its actEdit handler, which builds a new
// dialog for each opening and releases it afterwards. Main thread only.
#include <QDialog>

#include <functional>
#include <memory>
#include <string>

namespace Ui {
class frmEdit;
}

namespace pellucor {
class TcdSettings;
}

namespace pellucor::editor {

class TfrmEdit : public QDialog {
    Q_OBJECT

public:
    // Builds the dialog for output format (0 MPEG, 1 MP4, 2 WMV, 3 FLV, 4 MOV, 5 MP3) and runs
    // FormCreate: the language file at languageFile is applied to the form (section "frmEdit"),
    // the three WMV audio format lists share one place with the 9.2 list showing, and
    // applyProfilePreset is called, which writes the preset that the main window's profile list
    // of the format shows into settings (its custom entry writes nothing). settings must outlive
    // the dialog; applyProfilePreset may be empty.
    TfrmEdit(TcdSettings& settings, int format, const std::function<void()>& applyProfilePreset,
             const std::string& languageFile, QWidget* parent = nullptr);
    ~TfrmEdit() override;

    // Makes the page of a format (0 to 5) the one shown; there are no tabs to reach the others.
    // Any other number changes nothing.
    void ShowFormatPage(int page);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate(const std::string& languageFile,
                    const std::function<void()>& applyProfilePreset);
    // Fills the current format's page from the settings, the first time the dialog is shown.
    void FormShow();
    void cbbwmvmodeChange();
    void cbbaudioCodecChange();
    void btnOKClick();
    void btnCancelClick();

    std::unique_ptr<Ui::frmEdit> ui_;
    TcdSettings& settings_;
    int format_;
    bool filled_ = false;
};

// The entry point of the main window's actEdit: builds a new TfrmEdit over parent for format,
// with the global settings (AppSettings) and language file (lang::LanguageFile); sets the
// caption ("Edit WMV Profiles" ...) and the page; shows it modally, centred over parent; and
// releases it when it has closed, also when something in between throws. applyProfilePreset is
// the main window's ApplyProfilePreset. Returns the dialog's result (QDialog::Accepted after
// OK), which the main window need not look at.
int RunProfileEditor(QWidget* parent, int format, const std::function<void()>& applyProfilePreset);

} // namespace pellucor::editor
