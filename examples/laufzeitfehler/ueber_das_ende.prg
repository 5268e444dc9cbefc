* Fehler "Listenindex überschreitet das Maximum (6)"
* Der Sprung überspringt STP. Nach MRK ENDE, der letzten Zeile, ist das
* Programm zu Ende: die nächste Anweisung (Nummer 6) gibt es nicht.
JMP ENDE
STP
MRK ENDE
