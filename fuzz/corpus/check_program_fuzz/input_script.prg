* Eingaben: eine abgelehnte, zwei angenommene, dann keine mehr
INP
STO 1
INP
ADD 1
OUT
INP
STP
