#include "Input.h"

#include <QEventLoop>
#include <QFont>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>

#include "common/win1252.h"
#include "qt_text.h"
#include "screen/captions.h"
#include "window_placement.h"

namespace quarzel {
namespace {

const QPoint kPosition(200, 105);
const QSize kOuterSize(345, 76);

}  // namespace

TfrmData::TfrmData(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmData"));
    setWindowTitle(QString::fromUtf8(captions::frmData));
    setAttribute(Qt::WA_QuitOnClose, false);
    setModal(true);

    m_ebData = new QLineEdit(this);
    m_ebData->setObjectName(QStringLiteral("ebData"));
    m_ebData->setAccessibleName(windowTitle());
    m_ebData->setGeometry(8, 8, 273, 25);
    QFont editFont(QStringLiteral("Courier New"));
    editFont.setPixelSize(15);
    editFont.setStyleHint(QFont::TypeWriter);
    editFont.setFixedPitch(true);
    m_ebData->setFont(editFont);
    m_ebData->setText(QStringLiteral("0"));

    m_btOK = new QPushButton(QStringLiteral("OK"), this);
    m_btOK->setObjectName(QStringLiteral("btOK"));
    m_btOK->setGeometry(288, 8, 41, 25);
    QFont buttonFont(QStringLiteral("MS Sans Serif"));
    buttonFont.setPixelSize(11);
    buttonFont.setStyleHint(QFont::SansSerif);
    m_btOK->setFont(buttonFont);
    m_btOK->setDefault(true);

    setTabOrder(m_ebData, m_btOK);
    connect(m_btOK, &QPushButton::clicked, this, [this] { btOKClick(); });

    setFixedSize(kOuterSize);
    // Moving it before the first showing also keeps the dialog from centring itself.
    move(kPosition);
}

std::optional<std::string> TfrmData::askText(const std::optional<std::string>& rejected) {
    if (!isVisible()) {
        move(kPosition);
        show();  // modal: the rest of the program takes no input meanwhile
    } else if (rejected) {
        // The error box has been answered; the field still holds the text as typed (the
        // rejected one, but with every character), for correcting it.
        m_ebData->setFocus(Qt::ActiveWindowFocusReason);
    }
    QEventLoop loop;
    m_waiting = &loop;
    m_answer.reset();
    const QPointer<TfrmData> alive(this);
    loop.exec(QEventLoop::DialogExec);
    if (alive == nullptr) {
        return std::nullopt;  // the window went while the dialog was open
    }
    m_waiting = nullptr;
    return std::move(m_answer);
}

void TfrmData::hide() {
    QDialog::hide();
}

void TfrmData::btOKClick() {
    answer(fromQString(m_ebData->text()));
}

void TfrmData::done(int result) {
    QDialog::done(result);  // hides the dialog
    answer(std::nullopt);
}

void TfrmData::answer(std::optional<std::string> text) {
    if (m_waiting == nullptr) {
        return;  // no request waits (a second click before the first was taken)
    }
    m_answer = std::move(text);
    m_waiting->quit();
    m_waiting = nullptr;
}

void TfrmData::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    const QSize client = clientSizeFor(*this, kOuterSize);
    if (size() != client) {
        setFixedSize(client);
    }
    move(kPosition);
    // Every request starts from "0", selected, so typing replaces it.
    m_ebData->setText(QStringLiteral("0"));
    m_ebData->selectAll();
    m_ebData->setFocus(Qt::ActiveWindowFocusReason);
}

}  // namespace quarzel
