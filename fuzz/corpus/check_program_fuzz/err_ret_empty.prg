* RET ohne CAL
INC
RET
STP
