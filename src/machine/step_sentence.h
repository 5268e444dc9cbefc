// "Was geschah": one German sentence that tells what a step did, with the values it used, for
// every instruction and every way a step ends. It is made when a view asks for it, from the
// step's journal entry and the machine as the step left it, by running the instruction once
// more on the state before it without touching anything.
#pragma once

#include <string>

#include "machine/step_journal.h"
#include "model/data_table.h"
#include "model/instruction_set.h"

namespace quarzel {

// The sentence of the step `entry` recorded (Windows-1252), e.g.
// "Zeile 5: ADD 11 — Akku 5 + Zelle 11 (7) = 12". `now` is the table as the step left it (the
// cell it wrote held entry.cell before); `lineText` the program line as typed, or nullptr when
// the step's line lies outside the program text. The line is shown without trailing blanks,
// tabs as blanks, a long one cut as messages cut a quoted text.
std::string stepSentence(const Instructions& program, const JournalEntry& entry,
                         const DataTable& now, const std::string* lineText);

}  // namespace quarzel
