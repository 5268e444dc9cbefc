* Summe der Zellen 1 bis 10, dazu der Mittelwert
CLA
STO 11
INC
TAX
MRK SCHLEIFE
LAD 11
ADD [X]
STO 11
TXA
INC
TAX
SUB 12
JNE SCHLEIFE
LAD 11
DIV 13
OUT
STP
