// The core's message boxes, questions and file dialogs as modal Qt dialogs owned by the main
// window.
#pragma once

#include <QPointer>
#include <QWidget>

#include "common/views.h"

namespace quarzel {

class QtPrompts : public PromptView {
  public:
    explicit QtPrompts(QWidget* owner) : m_owner(owner) {}

    void showMessage(const std::string& text, const std::string& caption,
                     MessageIcon icon) override;
    bool askYesNo(const std::string& text, const std::string& caption) override;
    std::optional<std::string> chooseFileToOpen(const FileFilter& filter) override;
    std::optional<std::string> chooseFileToSave(const FileFilter& filter,
                                                const std::string& defaultExtension) override;
    // A tooltip below the control the learner works in.
    void showNote(const std::string& utf8) override;

  private:
    QPointer<QWidget> m_owner;
};

// "QRZL Programm (*.prg)" stays as it is; a description without its pattern gets it appended
// in the form Qt reads a name filter.
QString nameFilter(const FileFilter& filter);

}  // namespace quarzel
