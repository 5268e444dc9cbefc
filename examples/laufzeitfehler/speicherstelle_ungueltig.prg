* Laufzeitfehler "Speicherstelle 1 zeigt auf ungültige Stelle"
* Zelle 1 hält 0; [1] sucht den Wert in der Zelle mit der Nummer 0.
LAD [1]
STP
