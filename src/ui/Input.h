// The number dialog frmData, the machine's keyboard: INP shows it modally, the learner types a
// whole number and confirms with OK or Enter. A text that is no number is reported and the
// dialog stays open; closing it through its frame leaves the last accepted number in place.
#pragma once

#include <QDialog>

#include "common/views.h"

class QLineEdit;
class QPushButton;

namespace quarzel {

struct NumberInput;

class TfrmData : public QDialog, public NumberInputView {
    Q_OBJECT

  public:
    TfrmData(NumberInput& input, PromptView& prompts, QWidget* parent = nullptr);

    QLineEdit* ebData() const { return m_ebData; }
    QPushButton* btOK() const { return m_btOK; }

    // Runs the dialog modally at its fixed place; true when OK accepted a number, false when
    // it was closed through its frame or with Escape.
    bool showModal() override;
    void hide() override;

    // OK or Enter: stores the converted number and closes the dialog; a text that does not
    // convert goes to the central handler and the dialog stays open.
    void btOKClick();

  protected:
    void showEvent(QShowEvent* event) override;  // FormShow

  private:
    NumberInput& m_input;
    PromptView& m_prompts;
    QLineEdit* m_ebData;
    QPushButton* m_btOK;
};

}  // namespace quarzel
