* Multiplikation durch wiederholte Addition
* Zelle 3 := Zelle 1 * Zelle 2 (Zelle 2 nicht negativ)
CLA
STO 3      * Ergebnis := 0
MRK SCHLEIFE
LAD 2
JEQ FERTIG * Zelle 2 ist abgezählt
DEC
STO 2
LAD 3
ADD 1      * noch einmal Zelle 1 dazu
STO 3
JMP SCHLEIFE
MRK FERTIG
LAD 3
OUT
STP
