* POP auf den leeren Stack
PUS
POP
POP
STP
