* Umlaute im Namen des Programms, der Daten, des Abzugs und in der Eingabe
INP
STO 1
STP
