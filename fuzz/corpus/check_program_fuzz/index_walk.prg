* Das Indexregister laeuft durch die Zellen 1 bis 6 und merkt das Maximum in Zelle 50
LAD 1
STO 50
LAD 51      * Zelle 51 haelt 2, die erste Zelle nach Zelle 1
STO X
MRK SCHLEIFE
LAD [X]
SUB 50
JLT KLEINER
LAD [X]
STO 50
MRK KLEINER
TXA
INC
TAX
SUB 52      * Zelle 52 haelt die Grenze 7
JNE SCHLEIFE
LAD X
LAD 50
OUT
STP
