* Zelle 7 haelt 513
LAD 1
STO [7]
STP
