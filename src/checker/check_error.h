// The kinds of error "Prüfen" finds, beside the message it shows, and for each a short hint
// that says what the learner may have meant. The message box itself stays as it is.
#pragma once

#include <string>

namespace quarzel {

enum class CheckError {
    None,                 // the check passed
    BadLineStart,         // "Ungültiges Zeichen am Zeilenanfang"
    NoSuchMnemonic,       // "... ist kein gültiger Befehl"
    BadInstruction,       // "... ist keine gültige Anweisung"
    BlankMissing,         // "Auf eine Anweisung muss ein Leerzeichen folgen"
    CommentTooClose,      // "Vor einem Kommentar muss ein Leerzeichen stehen"
    DuplicateMark,        // "Marke ... bereits definiert"
    BadOperandCharacter,  // "Ungültiges Zeichen in Ziel ..."
    OperandMissing,       // "Ziel fehlt"
    OutOfRange,           // "Ziel ... außerhalb des zulässigen Bereichs"
    UndefinedMark,        // "Ziel ... ist nicht vorhanden"
    NoStp,                // "Programm enthält keine STP-Anweisung"
    OperandNotANumber,    // "'...' ist kein gültiger Integerwert", the conversion error
    DataNotANumber,       // the data check: "... ist keine Zahl!"
};

// The hint for `error` (Windows-1252), empty for None.
std::string checkHint(CheckError error);

}  // namespace quarzel
