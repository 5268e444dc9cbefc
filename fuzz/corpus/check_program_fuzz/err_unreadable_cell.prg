* Zelle 4 haelt nur ein Minuszeichen
LAD 1
ADD 4
STP
