* 65536 * 65536 passt nicht in 32 Bit
LAD 1
MUL 1
STP
