// Plays the modal dialogs of a window test as a user would: message boxes, the number dialog
// and file dialogs, each handed to the next scripted step.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <deque>
#include <functional>

#include "Input.h"

namespace quarzel::testing {

struct SeenBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon;
};

// Plays the modal dialogs of a test as a user would: each modal window that comes up is
// handed to the next scripted step. A modal window nobody expected is recorded and closed,
// so a wrong dialog fails the test instead of hanging it.
class ModalDriver : public QObject {
  public:
    ModalDriver() {
        connect(&m_poll, &QTimer::timeout, this, &ModalDriver::poll);
        m_poll.start(5);
    }

    QList<SeenBox> boxes;
    QStringList unexpected;

    // Answers the next message box with the given button; `whileShown` looks around first.
    void box(QMessageBox::StandardButton answer, std::function<void()> whileShown = {}) {
        m_steps.push_back([this, answer, whileShown](QWidget* w) {
            auto* b = qobject_cast<QMessageBox*>(w);
            if (b == nullptr) {
                return false;
            }
            boxes.append({b->windowTitle(), b->text(), b->icon()});
            if (whileShown) {
                whileShown();
            }
            // A dialog below the box (the number dialog showing why its text was refused)
            // may ask again once the box is gone: it is then the next step's.
            for (QWidget* below : QApplication::topLevelWidgets()) {
                if (below != b) {
                    below->setProperty("driven", false);
                }
            }
            b->button(answer)->click();
            return true;
        });
    }
    // Types into the number dialog and presses OK.
    void number(const QString& text) {
        m_steps.push_back([text](QWidget* w) {
            auto* dialog = qobject_cast<TfrmData*>(w);
            if (dialog == nullptr) {
                return false;
            }
            dialog->ebData()->setText(text);
            // The core hides the dialog once it took the number; a refused text is shown in
            // a box first (whose step lets the dialog be driven again).
            QTest::mouseClick(dialog->btOK(), Qt::LeftButton);
            return true;
        });
    }
    // Chooses a file in a file dialog (or cancels with an empty path).
    void file(const QString& path, QFileDialog::AcceptMode* mode = nullptr,
              QStringList* filters = nullptr, QString* suffix = nullptr) {
        m_steps.push_back([=](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            if (dialog == nullptr) {
                return false;
            }
            if (mode != nullptr) {
                *mode = dialog->acceptMode();
            }
            if (filters != nullptr) {
                *filters = dialog->nameFilters();
            }
            if (suffix != nullptr) {
                *suffix = dialog->defaultSuffix();
            }
            if (path.isEmpty()) {
                dialog->reject();
            } else {
                // As typed into the name field (selectFile leaves a focused field alone).
                const QFileInfo info(path);
                dialog->setDirectory(info.absolutePath());
                dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
                    ->setText(info.fileName());
                static_cast<QDialog*>(dialog)->accept();  // the file dialog's own accept
            }
            return true;
        });
    }
    // Looks at the next modal dialog, whatever it is, and closes it with reject().
    void inspect(std::function<void(QWidget*)> look) {
        m_steps.push_back([look](QWidget* w) {
            look(w);
            if (auto* dialog = qobject_cast<QDialog*>(w)) {
                dialog->reject();
            }
            return true;
        });
    }
    bool done() const { return m_steps.empty(); }

  private:
    void poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible() || modal->property("driven").toBool()) {
            return;
        }
        modal->setProperty("driven", true);
        // Let the dialog finish showing before it is answered.
        QTimer::singleShot(0, modal, [this, modal] {
            // Taken off the script before it runs: a step may open the next dialog itself.
            if (!m_steps.empty()) {
                const auto step = m_steps.front();
                m_steps.pop_front();
                if (step(modal)) {
                    return;
                }
            }
            unexpected.append(QString::fromLatin1(modal->metaObject()->className()) + ": " +
                              modal->windowTitle());
            if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                dialog->reject();
            }
        });
    }

    QTimer m_poll;
    std::deque<std::function<bool(QWidget*)>> m_steps;
};

}  // namespace quarzel::testing

using quarzel::testing::ModalDriver;
using quarzel::testing::SeenBox;
