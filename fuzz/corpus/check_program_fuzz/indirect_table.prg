* Zeiger: Zelle 30 zeigt auf die Quelle, Zelle 31 auf das Ziel, Zelle 32 zaehlt
MRK KOPIE
LAD [30]
STO [31]
LAD 30
INC
STO 30
LAD 31
INC
STO 31
LAD 32
DEC
STO 32
JNE KOPIE
LAD [33]    * Zelle 33 zeigt auf Zelle 200
OUT
STP
