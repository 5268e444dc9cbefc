* Umkehren mit dem Stack (PUS / POP)
* Zahlen eingeben, eine 0 beendet die Eingabe. Danach erscheinen die
* Zahlen in umgekehrter Reihenfolge im Fenster (am besten bei "Langsam").
* Der Stack liegt in den obersten Zellen: die erste Zahl in Zelle 512.
CLA
STO 1      * Zelle 1 zählt die Zahlen auf dem Stack
MRK LESEN
INP
JEQ AUSGABE * eine 0 beendet die Eingabe
PUS        * Zahl auf den Stack
LAD 1
INC
STO 1
JMP LESEN
MRK AUSGABE
LAD 1
JEQ FERTIG * alle Zahlen ausgegeben
DEC
STO 1
POP        * die zuletzt eingegebene Zahl zuerst
OUT
JMP AUSGABE
MRK FERTIG
STP
