* Fakultät mit einem Unterprogramm (CAL / RET)
* Zelle 3 := Zelle 1 ! ; Zelle 2 dient als Zähler
LAD 1
STO 2      * Zähler := n
CLA
INC
STO 3      * Ergebnis := 1
MRK SCHLEIFE
LAD 2
JEQ FERTIG
CAL MAL    * Rücksprungadresse kommt auf den Stack
LAD 2
DEC
STO 2
JMP SCHLEIFE
MRK FERTIG
LAD 3
OUT
STP

* Unterprogramm: Ergebnis := Ergebnis * Zähler
MRK MAL
LAD 3
MUL 2
STO 3
RET        * zurück hinter den Aufruf
