* Zeiger: eine Tabelle umkopieren mit indirekter Adressierung ([n])
* Die Zellen 1 bis 5 werden in die Zellen 11 bis 15 kopiert. Zelle 20
* zeigt auf die Quelle, Zelle 21 auf das Ziel: LAD [20] liest die Zelle,
* deren Nummer in Zelle 20 steht; STO [21] schreibt in die Zelle, deren
* Nummer in Zelle 21 steht.
LAD 23
STO 20     * Quelle ab Zelle 1
LAD 24
STO 21     * Ziel ab Zelle 11
MRK SCHLEIFE
LAD [20]   * Wert der Zelle, auf die Zelle 20 zeigt
STO [21]   * in die Zelle, auf die Zelle 21 zeigt
LAD 20
INC
STO 20     * Zeiger auf die nächste Quellzelle
LAD 21
INC
STO 21     * Zeiger auf die nächste Zielzelle
LAD 20
SUB 22     * Zelle 22 hält das Ende der Quelle (6)
JNE SCHLEIFE
LAD 15
OUT        * zum Schluss der zuletzt kopierte Wert
STP
