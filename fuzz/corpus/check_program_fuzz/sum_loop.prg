* Summe der Zellen 1 bis 5; Zelle 20 zeigt auf die naechste Zelle
CLA
STO 21      * Summe := 0
MRK SCHLEIFE
LAD 21
ADD [20]    * Zelle, deren Nummer in Zelle 20 steht
STO 21
LAD 20
DEC
STO 20
JGT SCHLEIFE
LAD 21
OUT
STP
