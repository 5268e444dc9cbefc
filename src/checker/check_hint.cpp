#include "checker/check_error.h"

#include "common/win1252.h"

namespace quarzel {

std::string checkHint(CheckError error) {
    const char* hint = "";
    switch (error) {
        case CheckError::None:
            break;
        case CheckError::BadLineStart:
            hint =
                "Eine Anweisung beginnt in Spalte 1 mit ihren drei Buchstaben, ohne "
                "Leerzeichen davor (LAD 5); eine Zeile, die mit * beginnt, ist ein Kommentar.";
            break;
        case CheckError::NoSuchMnemonic:
            hint =
                "Die ersten drei Buchstaben einer Zeile sind ein Befehl wie LAD, ADD, STO, "
                "JMP oder STP; alle Befehle stehen in der Hilfe.";
            break;
        case CheckError::BadInstruction:
            hint =
                "Dieser Befehl hat keinen Operanden: nach den drei Buchstaben kommt nichts "
                "oder ein Leerzeichen und ein Kommentar.";
            break;
        case CheckError::BlankMissing:
            hint =
                "Auf den Befehl folgen genau ein Leerzeichen und der Operand: LAD 5, "
                "STO [X], JMP SCHLEIFE.";
            break;
        case CheckError::CommentTooClose:
            hint = "Vor dem * eines Kommentars steht ein Leerzeichen: LAD 5 * Zähler.";
            break;
        case CheckError::DuplicateMark:
            hint =
                "Jeder Name wird nur einmal mit MRK festgelegt; die zweite Marke braucht "
                "einen anderen Namen.";
            break;
        case CheckError::BadOperandCharacter:
            hint =
                "Ein Operand ist eine Zelle: n, [n], X oder [X], ohne Vorzeichen und ohne "
                "andere Zeichen.";
            break;
        case CheckError::OperandMissing:
            hint = "Nach dem Befehl und einem Leerzeichen fehlt die Zelle: n, [n], X oder [X].";
            break;
        case CheckError::OutOfRange:
            hint =
                "Operanden sind Zellen von 1 bis 512 – Zahlen als Werte gehören in die "
                "Daten: die Zahl in eine Zelle schreiben und deren Nummer angeben.";
            break;
        case CheckError::UndefinedMark:
            hint = "Zu jedem Sprung und CAL gehört eine Zeile MRK mit genau diesem Namen.";
            break;
        case CheckError::NoStp:
            hint =
                "Jedes Programm braucht eine STP-Anweisung, die den Lauf beendet; ein STP im "
                "Kommentar zählt nicht.";
            break;
        case CheckError::OperandNotANumber:
            hint =
                "Eine Zelle wird mit Ziffern angegeben (5 oder [5]); X allein ist das "
                "Indexregister.";
            break;
        case CheckError::DataNotANumber:
            hint =
                "In jeder Zelle der Daten steht eine ganze Zahl: nur Ziffern, höchstens ein "
                "Minus davor, kein Komma, kein Leerzeichen.";
            break;
    }
    return fromUtf8(hint);
}

}  // namespace quarzel
