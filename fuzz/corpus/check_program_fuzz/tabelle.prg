* Das Indexregister läuft durch eine Tabelle
* Jede der Zellen 1 bis 8 wird verdoppelt; Zelle 20 hält das Ende (9).
CLA
INC
TAX        * Index := 1
MRK SCHLEIFE
LAD [X]
ADD [X]    * Wert verdoppeln
STO [X]
TXA
INC
TAX        * nächste Zelle
SUB 20
JNE SCHLEIFE
STP
