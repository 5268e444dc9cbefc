* Countdown im Fenster
* Zählt vom Wert in Zelle 1 bis 0 herunter; im Fenster zu verfolgen.
LAD 1
MRK SCHLEIFE
OUT
DEC
JGT SCHLEIFE
OUT        * zum Schluss die 0
STP
