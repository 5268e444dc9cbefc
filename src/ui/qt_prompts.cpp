#include "qt_prompts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QToolTip>

#include "qt_text.h"

namespace quarzel {
namespace {

// The program speaks German on every system: the buttons say so themselves, whether or not
// Qt's German translation is installed.
void germanButtons(QMessageBox& box) {
    const std::pair<QMessageBox::StandardButton, const char*> texts[] = {
        {QMessageBox::Yes, "&Ja"}, {QMessageBox::No, "&Nein"}, {QMessageBox::Ok, "OK"}};
    for (const auto& [which, text] : texts) {
        if (QAbstractButton* button = box.button(which)) {
            button->setText(QString::fromUtf8(text));
        }
    }
}

// Qt's own dialog takes these labels; the platform's native dialog follows the desktop's
// language anyway.
void germanLabels(QFileDialog& dialog) {
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("Suchen in:"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Dateiname:"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("Dateityp:"));
    dialog.setLabelText(QFileDialog::Accept, dialog.acceptMode() == QFileDialog::AcceptSave
                                                 ? QStringLiteral("&Speichern")
                                                 : QStringLiteral("Ö&ffnen"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Abbrechen"));
}

}  // namespace

QString nameFilter(const FileFilter& filter) {
    const QString description = toQString(filter.description);
    const QString pattern = toQString(filter.pattern);
    if (pattern.isEmpty() || description.contains(QLatin1Char('(') + pattern + QLatin1Char(')'))) {
        return description;
    }
    return description + QStringLiteral(" (") + pattern + QLatin1Char(')');
}

void QtPrompts::showNote(const std::string& utf8) {
    QWidget* at = QApplication::focusWidget();
    if (at == nullptr) {
        at = m_owner;
    }
    if (at == nullptr) {
        return;
    }
    // Below the control, where the learner looks while typing; it goes by itself.
    QToolTip::showText(at->mapToGlobal(QPoint(0, at->height())), utf8Text(utf8), at);
}

void QtPrompts::showMessage(const std::string& text, const std::string& caption, MessageIcon icon) {
    QMessageBox box(icon == MessageIcon::Error ? QMessageBox::Critical : QMessageBox::Information,
                    toQString(caption), toQString(text), QMessageBox::Ok, m_owner);
    box.setTextFormat(Qt::PlainText);
    germanButtons(box);
    box.exec();
}

bool QtPrompts::askYesNo(const std::string& text, const std::string& caption) {
    QMessageBox box(QMessageBox::Question, toQString(caption), toQString(text),
                    QMessageBox::Yes | QMessageBox::No, m_owner);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    germanButtons(box);
    return box.exec() == QMessageBox::Yes;
}

std::optional<std::string> QtPrompts::chooseFileToOpen(const FileFilter& filter) {
    // The platform's own dialog where there is one; Qt's widget dialog (which the offscreen
    // tests drive) everywhere else.
    QFileDialog dialog(m_owner);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(nameFilter(filter));
    germanLabels(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return pathFromQString(dialog.selectedFiles().constFirst());
}

std::optional<std::string> QtPrompts::chooseFileToSave(const FileFilter& filter,
                                                       const std::string& defaultExtension) {
    QFileDialog dialog(m_owner);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(nameFilter(filter));
    dialog.setDefaultSuffix(toQString(defaultExtension));
    germanLabels(dialog);
    // The question before replacing a file is ours, so it is German on every system; "Nein"
    // goes back to the dialog, as the dialog's own question would.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    while (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        const QString path = dialog.selectedFiles().constFirst();
        if (!QFileInfo::exists(path) ||
            askYesNo(fromQString(QStringLiteral("„%1“ ist bereits vorhanden.\nSoll die Datei "
                                                "ersetzt werden?")
                                     .arg(QFileInfo(path).fileName())),
                     "Speichern unter")) {
            return pathFromQString(path);
        }
    }
    return std::nullopt;
}

}  // namespace quarzel
