#include "app/Dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>

namespace pellucor::app {
namespace {

Dialogs::Script* g_script = nullptr;

QString Title() { return QGuiApplication::applicationDisplayName(); }

QMessageBox::StandardButton Box(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, Title(), text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

void Dialogs::record(Kind kind, const QString& title, const QString& text) {
    g_script->shown_.push_back({kind, title, text});
}

Dialogs::Script::Script() : previous_(g_script) { g_script = this; }
Dialogs::Script::~Script() { g_script = previous_; }

bool Dialogs::askYesNo(QWidget* parent, const QString& text) {
    if (g_script) {
        record(Kind::Question, Title(), text);
        if (g_script->answers_.empty()) {
            ++g_script->unanswered_;
            return false;
        }
        const bool yes = g_script->answers_.front();
        g_script->answers_.pop_front();
        return yes;
    }
    return Box(parent, QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

void Dialogs::information(QWidget* parent, const QString& text) {
    if (g_script) return record(Kind::Information, Title(), text);
    Box(parent, QMessageBox::Information, text, QMessageBox::Ok);
}

void Dialogs::warning(QWidget* parent, const QString& text) {
    if (g_script) return record(Kind::Warning, Title(), text);
    Box(parent, QMessageBox::Warning, text, QMessageBox::Ok);
}

void Dialogs::critical(QWidget* parent, const QString& text) {
    if (g_script) return record(Kind::Critical, Title(), text);
    Box(parent, QMessageBox::Critical, text, QMessageBox::Ok);
}

QStringList Dialogs::openFiles(QWidget* parent, const QString& filter) {
    if (g_script) {
        record(Kind::OpenFiles, QString(), filter);
        if (g_script->files_.empty()) {
            ++g_script->unanswered_;
            return {};
        }
        QStringList files = g_script->files_.front();
        g_script->files_.pop_front();
        return files;
    }
    return QFileDialog::getOpenFileNames(parent, QString(), QString(), filter);
}

std::optional<QString> Dialogs::browseForFolder(QWidget* parent, const QString& title,
                                                const QString& initialFolder) {
    if (g_script) {
        record(Kind::Folder, title, initialFolder);
        if (g_script->folders_.empty()) {
            ++g_script->unanswered_;
            return std::nullopt;
        }
        std::optional<QString> folder = g_script->folders_.front();
        g_script->folders_.pop_front();
        return folder;
    }
    const QString start =
        !initialFolder.isEmpty() && QDir(initialFolder).exists() ? initialFolder : QString();
    const QString chosen = QFileDialog::getExistingDirectory(parent, title, start,
                                                             QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty()) return std::nullopt;
    return chosen;
}

} // namespace pellucor::app
