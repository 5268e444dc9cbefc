* Verschachtelte Unterprogramme: Zelle 2 := n*n, Zelle 3 := n hoch 4
LAD 1
CAL QUADRAT
STO 2
LAD 1
CAL VIERTE
STO 3
OUT
STP

MRK QUADRAT
STO 10
MUL 10
RET

MRK VIERTE
PUS         * n merken
CAL QUADRAT
CAL QUADRAT
STO 11
POP         * n zurueck
STO 12
LAD 11
RET
