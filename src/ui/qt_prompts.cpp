#include "qt_prompts.h"

#include <QFileDialog>
#include <QMessageBox>

#include "qt_text.h"

namespace quarzel {

QString nameFilter(const FileFilter& filter) {
    const QString description = toQString(filter.description);
    const QString pattern = toQString(filter.pattern);
    if (pattern.isEmpty() || description.contains(QLatin1Char('(') + pattern + QLatin1Char(')'))) {
        return description;
    }
    return description + QStringLiteral(" (") + pattern + QLatin1Char(')');
}

void QtPrompts::showMessage(const std::string& text, const std::string& caption, MessageIcon icon) {
    QMessageBox box(icon == MessageIcon::Error ? QMessageBox::Critical : QMessageBox::Information,
                    toQString(caption), toQString(text), QMessageBox::Ok, m_owner);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool QtPrompts::askYesNo(const std::string& text, const std::string& caption) {
    QMessageBox box(QMessageBox::Question, toQString(caption), toQString(text),
                    QMessageBox::Yes | QMessageBox::No, m_owner);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

std::optional<std::string> QtPrompts::chooseFileToOpen(const FileFilter& filter) {
    // The platform's own dialog where there is one; Qt's widget dialog (which the offscreen
    // tests drive) everywhere else.
    QFileDialog dialog(m_owner);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(nameFilter(filter));
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
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return pathFromQString(dialog.selectedFiles().constFirst());
}

}  // namespace quarzel
