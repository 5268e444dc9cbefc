* Laufzeitfehler "Stack-Overflow"
* POP auf den leeren Stack (Stack = 512).
POP
STP
