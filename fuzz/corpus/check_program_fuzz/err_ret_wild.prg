* RET zu einer Zeile, die es nicht gibt
LAD 1
PUS
RET
STP
