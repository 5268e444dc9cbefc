* Rekursion ohne Ende
MRK R
CAL R
STP
