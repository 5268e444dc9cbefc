// The number dialog frmData, the machine's keyboard: INP shows it modally, the learner types a
// whole number and confirms with OK or Enter. The core converts the text; a text that is no
// number is reported while the dialog stays open with it; closing the dialog through its frame
// leaves the last accepted number in place.
#pragma once

#include <QDialog>
#include <optional>
#include <string>

#include "common/views.h"

class QEventLoop;
class QLineEdit;
class QPushButton;

namespace quarzel {

class TfrmData : public QDialog, public NumberInputView {
    Q_OBJECT

  public:
    explicit TfrmData(QWidget* parent = nullptr);

    QLineEdit* ebData() const { return m_ebData; }
    QPushButton* btOK() const { return m_btOK; }

    // Shows the dialog modally at its fixed place, starting from "0", or keeps it shown with
    // the rejected text; returns OK's text, nothing when it was closed through its frame or
    // with Escape. It stays shown until hide().
    std::optional<std::string> askText(const std::optional<std::string>& rejected) override;
    void hide() override;

    // OK or Enter: hands the field's text to the request waiting for it.
    void btOKClick();

  protected:
    void showEvent(QShowEvent* event) override;  // FormShow
    void done(int result) override;              // the frame's close button, Escape

  private:
    void answer(std::optional<std::string> text);

    QLineEdit* m_ebData;
    QPushButton* m_btOK;
    QEventLoop* m_waiting = nullptr;  // the loop of the request waiting for OK or the frame
    std::optional<std::string> m_answer;
};

}  // namespace quarzel
