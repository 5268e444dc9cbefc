* Fehler "Integerüberlauf"
* -1 logisch nach rechts geschoben ergibt die größte Zahl 2147483647.
CLA
DEC
SAR
INC        * 2147483647 + 1 passt nicht in 32 Bit
STP
