* Laufzeitfehler "Stack-Underflow"
* Legt so lange den Akku auf den Stack, bis alle 512 Zellen belegt sind.
MRK NOCHMAL
PUS
JMP NOCHMAL
STP
