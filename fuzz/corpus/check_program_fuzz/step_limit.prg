* Endlosschleife, die nur die Schrittgrenze beendet
MRK L
INC
JMP L
STP
