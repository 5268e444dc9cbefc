// The user's commands that the page sends by number: the window calls the session for each
// directly, the page sends the number of its row here.
#pragma once

namespace quarzel {

// Examples: the list of built-in examples, then the one chosen loaded.
enum class Command { Check, Run, Step, Back, New, Load, Save, Examples };

struct CommandName {
    const char* name;
    Command command;
};

inline constexpr CommandName kCommands[] = {
    {"Check", Command::Check}, {"Run", Command::Run},           {"Step", Command::Step},
    {"Back", Command::Back},   {"New", Command::New},           {"Load", Command::Load},
    {"Save", Command::Save},   {"Examples", Command::Examples},
};

}  // namespace quarzel
