#include "Input.h"

#include <QFont>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include "common/central_handler.h"
#include "common/win1252.h"
#include "machine/number_input.h"
#include "screen/captions.h"
#include "window_placement.h"

namespace quarzel {
namespace {

const QPoint kPosition(200, 105);
const QSize kOuterSize(345, 76);

}  // namespace

TfrmData::TfrmData(NumberInput& input, PromptView& prompts, QWidget* parent)
    : QDialog(parent), m_input(input), m_prompts(prompts) {
    setObjectName(QStringLiteral("frmData"));
    setWindowTitle(QString::fromUtf8(captions::frmData));
    setAttribute(Qt::WA_QuitOnClose, false);

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

bool TfrmData::showModal() {
    move(kPosition);
    return exec() == QDialog::Accepted;
}

void TfrmData::hide() {
    QDialog::hide();
}

void TfrmData::btOKClick() {
    guarded(m_prompts, [this] {
        m_input.btOKClick(fromUtf8(m_ebData->text().toStdString()));
        accept();
    });
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
