* Der Sprung ueberspringt STP
JMP ENDE
STP
MRK ENDE
INC
