#include "screen/reference_text.h"

#include <iterator>

namespace quarzel {
namespace {

// The text as the learners know it, spelling included; "ZZZ" is internal and has no line.
const char* const kReferenceLines[] = {
    "Befehlsliste:",
    "",
    "n = direkte, [n] = indirekte Adressierung",
    "Adressierung auch mit Indexregister (X)",
    "",
    "ADD n oder ADD [n] : Addiere Speicherinhalt zum Akku",
    "CAL n              : Sprung zum Unterprogramm an Zeile n",
    "CAL <Name>         : Srung zum Marker <Name>",
    "CLA                : Loesche Akku",
    "DEC                : Verringere Akku um eins",
    "DIV n oder DIV [n] : Dividiere Akku durch Speicherinhalt",
    "                   : ganzzahliger Anteil",
    "INC                : Erhöhe Akku um eins",
    "INP                : Eine Ziffer von Tastatur in Akku",
    "JEQ n oder <Name>  : Springe zur Zeile / Marke, falls Akku = 0",
    "JGT n oder <Name>  : Springe zur Zeile / Marke, falls Akku > 0",
    "JLT n oder <Name>  : Springe zur Zeile / Marke, falls Akku < 0",
    "JMP n oder <Name>  : Springe unbedingt zur Zeile / Marke",
    "JNE n oder <Name>  : Springe zur Zeile / Marke, falls Akku <> 0",
    "LAD n oder LAD [n] : Lade Speicherinhalt in Akku",
    "MRK Name           : Setze Marke mit Name",
    "MUL n oder MUL [n] : Multipliziere Akku mit Speicherinhalt",
    "NEG                : Akku * (-1)",
    "OUT                : Akku im Fenster anzeigen",
    "POP                : Stack in AKKU",
    "PUS                : Akku auf Stack",
    "RET                : Ende des Unterprogramms, Rücksprung",
    "SAL                : Schiebe Akkuinhalt 1 BIT nach links",
    "SAR                : Schiebe Akkuinhalt 1 BIT nach rechts",
    "STO n oder STO [n] : Lade Speicher mit Akkuinhalt",
    "STP                : Beende Programm",
    "SUB n oder SUB [n] : Subtrahiere Speicherinhalt vom Akku",
    "TAX                : Inhalt Akku ins Indexregister schieben",
    "TXA                : Inhalt Indexregister in Akku schieben",
};

}  // namespace

const std::vector<std::string>& referenceLines() {
    static const std::vector<std::string> lines(std::begin(kReferenceLines),
                                                std::end(kReferenceLines));
    return lines;
}

}  // namespace quarzel
