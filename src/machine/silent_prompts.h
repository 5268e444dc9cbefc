// Prompts where no one is asked: a walk through steps already taken (the loop watch's repeated
// cycle, a replay of the run's history) shows no box, answers every question "Nein" and cancels
// every file choice.
#pragma once

#include <optional>
#include <string>

#include "common/views.h"

namespace quarzel {

class SilentPrompts : public PromptView {
  public:
    void showMessage(const std::string& /*text*/, const std::string& /*caption*/,
                     MessageIcon /*icon*/) override {}
    bool askYesNo(const std::string& /*text*/, const std::string& /*caption*/) override {
        return false;
    }
    std::optional<std::string> chooseFileToOpen(const FileFilter& /*filter*/) override {
        return std::nullopt;
    }
    std::optional<std::string> chooseFileToSave(const FileFilter& /*filter*/,
                                                const std::string& /*extension*/) override {
        return std::nullopt;
    }
};

}  // namespace quarzel
