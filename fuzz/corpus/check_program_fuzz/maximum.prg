* Die größere von zwei Eingaben
* Zwei Zahlen werden eingegeben, die größere erscheint im Fenster.
INP
STO 1      * erste Zahl
INP
STO 2      * zweite Zahl
SUB 1      * Akku := zweite - erste
JGT ZWEITE
LAD 1      * die erste ist größer oder gleich
OUT
STP
MRK ZWEITE
LAD 2
OUT
STP
