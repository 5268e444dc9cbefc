* Das Indexregister zeigt hinter die letzte Zelle
LAD 1
TAX
LAD [X]
STP
