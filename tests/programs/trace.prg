* Zähler; "Protokoll"
LAD 1
	NEG
STO [2]
PUS
POP
STP
