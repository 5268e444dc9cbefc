* Laufzeitfehler "Indexregister zeigt auf ungültige Stelle"
* Das Indexregister ist 0, es gibt aber keine Zelle 0.
LAD [X]
STP
