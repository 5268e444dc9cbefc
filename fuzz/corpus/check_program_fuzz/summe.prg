* Summe der Zellen 1 bis 10
* Das Indexregister zeigt nacheinander auf die Zellen 1 bis 10.
* Die Summe steht am Ende in Zelle 11 und im Fenster.
CLA
STO 11     * Summe := 0
INC
TAX        * Index := 1
MRK SCHLEIFE
LAD 11
ADD [X]    * Inhalt der Zelle, auf die der Index zeigt
STO 11
TXA
INC
TAX        * nächste Zelle
SUB 12     * Zelle 12 hält die Grenze 11
JNE SCHLEIFE
LAD 11
OUT
STP
