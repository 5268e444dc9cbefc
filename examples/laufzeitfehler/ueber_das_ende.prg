* Fehler "Listenindex überschreitet das Maximum (3)"
* Der Sprung überspringt STP, danach ist das Programm zu Ende.
JMP ENDE
STP
MRK ENDE
