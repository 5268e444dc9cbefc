// meProgram: the program editor as a QPlainTextEdit that the core sees through
// ProgramEditorView. Lines are text blocks (no wrapping), so block numbers, line numbers and
// the vertical scroll position all count the same lines.
#pragma once

#include <QPlainTextEdit>
#include <functional>

#include "common/views.h"

namespace quarzel {

class ProgramEditor : public QPlainTextEdit, public ProgramEditorView {
    Q_OBJECT

  public:
    explicit ProgramEditor(QWidget* parent = nullptr);

    int lineCount() const override;
    std::string lineText(int index) const override;
    void appendEmptyLine() override;
    int firstVisibleLine() const override;
    void scrollLines(int count) override;
    void selectLine(int index) override;
    void setReadOnly(bool readOnly) override;
    void deleteLine(int index) override;
    void clear() override;
    std::string text() const override;
    void setText(const std::string& text) override;

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void keepSelectionVisible();
    void setTabStops();
    QTextBlock lineBlock(int index) const;  // raises the list index error when out of range
};

}  // namespace quarzel
