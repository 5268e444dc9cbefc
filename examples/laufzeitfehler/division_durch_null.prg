* Laufzeitfehler "Division durch Null"
* Alle Zellen halten 0, also teilt DIV durch 0.
LAD 1
DIV 2
STP
