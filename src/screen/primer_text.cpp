#include "screen/primer_text.h"

#include <initializer_list>

#include "common/win1252.h"

namespace quarzel {
namespace {

// Lines typed in UTF-8, as the editor holds them: Windows-1252, each ending in CR LF.
std::string program(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines) {
        text += line;
        text += "\r\n";
    }
    return fromUtf8(text);
}

std::vector<PrimerSection> makeSections() {
    return {
        {"Der Rechner",
         {"Quarzel 3 ist ein kleiner Rechner mit 512 Speicherzellen, Nummer 1 bis 512, und "
          "fünf Registern: „Akku“, mit dem jede Rechnung geschieht, „Fenster“ für die Ausgabe, "
          "„Index“, das Indexregister, „Anweisung“, die Nummer der Zeile, die als Nächstes "
          "ausgeführt wird, und „Stack“, die nächste freie Zelle des Stacks.",
          "Links steht das Programm, daneben die Daten: jede Zelle mit ihrem Inhalt, einer "
          "ganzen Zahl, und einem Kommentar. „Ansicht“ zeigt die Zellen als Bild statt als "
          "Tabelle.",
          "Das Feld „Anweisung“ zählt die Zeilen ab 0; die Zeilennummern am Rand des Programms "
          "und jede Meldung, die eine Zeile nennt, zählen ab 1."},
         ""},
        {"Eine Programmzeile",
         {"Eine Zeile enthält höchstens einen Befehl aus drei Buchstaben, zum Beispiel LAD, ADD "
          "oder STP. Er beginnt in der ersten Spalte: Ein Leerzeichen am Zeilenanfang ist ein "
          "Fehler („Ungültiges Zeichen am Zeilenanfang“). Groß- und Kleinschreibung sind "
          "gleich, lad 5 ist LAD 5.",
          "Braucht der Befehl einen Operanden, folgen ein Leerzeichen und genau ein Operand: die "
          "Nummer einer Zelle (LAD 5) oder der Name einer Marke (JMP ENDE). Befehle ohne "
          "Operanden wie INC, OUT oder STP stehen allein.",
          "Das Programm rechnet Zelle 1 plus Zelle 2 und schreibt die Summe in Zelle 3 und ins "
          "Fenster. Trage vor dem Start zwei Zahlen in die Zellen 1 und 2 ein."},
         program({"* Zelle 3 := Zelle 1 + Zelle 2", "LAD 1      * Akku := Inhalt von Zelle 1",
                  "ADD 2      * Akku := Akku + Inhalt von Zelle 2", "STO 3      * Zelle 3 := Akku",
                  "OUT        * Fenster := Akku", "STP"})},
        {"Zellen statt Zahlen",
         {"Ein Operand ist immer die Nummer einer Zelle, nie die Zahl selbst: LAD 5 lädt den "
          "Inhalt der Zelle 5 in den Akku, nicht die Zahl 5. Konstanten gibt es im Programm "
          "nicht. Erlaubt sind die Zellen 1 bis 512; LAD 0 ist ein Fehler („Ziel 0 außerhalb "
          "des zulässigen Bereichs“).",
          "Zahlen kommen deshalb über die Daten ins Programm: Trage sie in die Tabelle ein und "
          "schreibe in den Kommentar, wofür sie stehen. Ohne Daten setzt CLA den Akku auf 0, "
          "INC zählt ihn um 1 hoch, DEC um 1 herunter, und INP fragt im Fenster „Dateneingabe“ "
          "nach einer Zahl.",
          "Dieses Programm braucht keine Daten: Es zählt den Akku bis 3 und schreibt ihn in "
          "Zelle 10."},
         program({"* Ohne Daten: der Akku wird 3", "CLA        * Akku := 0", "INC", "INC",
                  "INC        * Akku := 3", "STO 10     * Zelle 10 := 3", "OUT", "STP"})},
        {"Indirekt: [n]",
         {"Eckige Klammern adressieren indirekt: [n] ist die Zelle, deren Nummer in Zelle n "
          "steht. Hält Zelle 10 die Zahl 3, dann lädt LAD [10] den Inhalt der Zelle 3, und "
          "STO [10] schreibt in Zelle 3. So wird eine Zelle zum Zeiger; zählt das Programm sie "
          "hoch, geht es Zelle für Zelle durch eine Tabelle.",
          "Zeigt Zelle 10 auf keine Zelle von 1 bis 512, hält der Lauf mit dem Laufzeitfehler "
          "„Speicherstelle 10 zeigt auf ungültige Stelle“ an."},
         program({"* Zelle 10 zeigt auf Zelle 3", "CLA", "INC", "INC", "INC",
                  "STO 10     * Zelle 10 := 3", "INC        * Akku := 4",
                  "STO [10]   * Zelle 3 := 4", "CLA", "LAD [10]   * Akku := Inhalt von Zelle 3",
                  "OUT", "STP"})},
        {"Das Indexregister X",
         {"Das Indexregister heißt im Programm X. TAX kopiert den Akku nach X, TXA kopiert X in "
          "den Akku. Als Operand ist X das Register selbst: ADD X addiert seinen Wert, STO X "
          "schreibt den Akku hinein. [X] ist die Zelle, auf die es zeigt: Ist X = 5, lädt "
          "LAD [X] den Inhalt der Zelle 5.",
          "Beim Start ist X = 0, und eine Zelle 0 gibt es nicht: [X] hält den Lauf dann mit dem "
          "Laufzeitfehler „Indexregister zeigt auf ungültige Stelle“ an.",
          "Das Programm zählt X von 5 bis 1 herunter und schreibt in jede dieser Zellen ihre "
          "eigene Nummer."},
         program({"* Die Zellen 5 bis 1 erhalten ihre eigene Nummer", "CLA", "INC", "INC", "INC",
                  "INC", "INC        * Akku := 5", "MRK WEITER", "TAX        * X := Akku",
                  "STO [X]    * Zelle X := Akku", "DEC", "JNE WEITER * bis der Akku 0 ist",
                  "STP"})},
        {"Marken und Sprünge",
         {"MRK NAME setzt eine Marke. JMP NAME springt immer zu ihr; JEQ, JNE, JGT und JLT "
          "springen nur, wenn der Akku = 0, ungleich 0, > 0 oder < 0 ist, sonst geht es mit der "
          "nächsten Zeile weiter. Der Sprung landet auf der Zeile mit MRK, die selbst nichts "
          "tut.",
          "Eine Marke darf vor oder nach dem Sprung stehen, jeder Name aber nur einmal; Groß- "
          "und Kleinschreibung sind gleich. Auch eine Zahl ist hier nur ein Name: JMP 5 springt "
          "zur Zeile MRK 5, nicht zur fünften Zeile.",
          "Das Programm zählt im Fenster von 3 bis 1 herunter; am besten bei „Langsam“ "
          "ansehen."},
         program({"* Countdown im Fenster", "CLA", "INC", "INC", "INC        * Akku := 3",
                  "MRK SCHLEIFE", "OUT", "DEC",
                  "JNE SCHLEIFE * weiter, solange der Akku nicht 0 ist", "STP"})},
        {"Unterprogramme und der Stack",
         {"CAL NAME ruft ein Unterprogramm auf: Die Nummer der Zeile nach dem Aufruf kommt auf "
          "den Stack, dann springt CAL zur Marke. RET holt diese Nummer vom Stack und springt "
          "dorthin zurück.",
          "PUS legt den Akku auf den Stack, POP holt den obersten Wert zurück in den Akku. Der "
          "Stack liegt in den obersten Zellen und wächst von Zelle 512 nach unten; „Stack“ "
          "zeigt die nächste freie Zelle. POP oder RET bei leerem Stack meldet "
          "„Stack-Overflow“, PUS oder CAL bei vollem Stack „Stack-Underflow“.",
          "Das Unterprogramm verdoppelt den Akku."},
         program({"* Ein Unterprogramm verdoppelt den Akku", "CLA", "INC", "INC",
                  "INC        * Akku := 3", "CAL DOPPELT", "OUT        * Fenster := 6", "STP",
                  "MRK DOPPELT", "STO 1      * Zelle 1 := Akku",
                  "ADD 1      * Akku := Akku + Zelle 1", "RET        * zurück hinter den Aufruf"})},
        {"Kommentare",
         {"Eine Zeile, die mit * beginnt, ist ein Kommentar. Hinter einem Befehl und seinem "
          "Operanden ist der Rest der Zeile frei; üblich ist ein * mit einer Erklärung, etwa "
          "STO 3 * Summe. Zwischen Operand und * muss ein Leerzeichen stehen, sonst meldet "
          "„Prüfen“: „Vor einem Kommentar muss ein Leerzeichen stehen“.",
          "Leere Zeilen sind erlaubt; sie tun nichts."},
         ""},
        {"STP",
         {"Jedes Programm braucht ein STP. Fehlt es, meldet „Prüfen“: „Fehler: Programm enthält "
          "keine STP-Anweisung“; ein STP in einem Kommentar zählt nicht.",
          "STP beendet den Lauf, „Anweisung“ bleibt auf der Zeile mit STP stehen. Ein Programm, "
          "das ohne STP über seine letzte Zeile hinausläuft, hält mit dem Laufzeitfehler "
          "„Listenindex überschreitet das Maximum (…)“ an."},
         ""},
        {"Prüfen",
         {"„Prüfen“ liest das Programm Zeile für Zeile. Beim ersten Fehler hört es auf, meldet "
          "ihn mit der Nummer seiner Zeile und markiert die Zeile. Danach prüft es die Daten: "
          "Der Inhalt einer Zelle darf nur aus Ziffern bestehen, davor höchstens ein Minus; die "
          "erste Zelle, bei der das nicht stimmt, meldet es als „Datenfehler“.",
          "Findet „Prüfen“ keinen Fehler, meldet es nichts. An ein fehlerfreies Programm hängt "
          "es aber leere Zeilen an. Der Grund: Während eines Laufs steht die Zeile, die als "
          "Nächstes ausgeführt wird, ganz oben im Editor. Damit das auch für die letzten Zeilen "
          "geht, braucht der Editor darunter Platz. Die leeren Zeilen tun nichts, und beim "
          "Speichern fallen alle leeren Zeilen weg."},
         ""},
        {"Start und Schritt",
         {"„Start“ prüft zuerst, was seit der letzten Änderung nicht geprüft ist: Der erste "
          "Druck meldet „Programm wird geprüft“ und prüft das Programm, der nächste „Daten "
          "werden geprüft“, erst der dritte startet den Lauf. Nach einem fehlerfreien „Prüfen“ "
          "startet schon der erste Druck.",
          "Der Start setzt Akku, Fenster, Index und Anweisung auf 0 und Stack auf 512. Die "
          "Daten bleiben, wie sie sind, auch was ein früherer Lauf hineingeschrieben hat. "
          "Während des Laufs heißt der Knopf „Stop“, und Programm und Daten lassen sich nicht "
          "bearbeiten.",
          "Bei der Geschwindigkeit „Schritt“ führt jeder Druck auf den Knopf „Schritt“ genau "
          "eine Zeile aus; „Schritte:“ zählt die ausgeführten Anweisungen des Laufs. Der Lauf "
          "endet mit STP, mit einem Laufzeitfehler oder mit „Stop“."},
         ""},
        {"Geschwindigkeiten",
         {"„Langsam“ führt alle 1,5 Sekunden eine Zeile aus, „Schnell“ alle 0,5 Sekunden und "
          "„Direkt“ alle 25 Millisekunden; der Knopf „Schritt“ ist dabei gesperrt. Die "
          "Geschwindigkeit lässt sich während des Laufs wechseln. „Schritt“ hält den Lauf "
          "nicht an: Er geht dann mit dem Knopf „Schritt“ weiter.",
          "Kehrt ein Lauf bei „Langsam“, „Schnell“ oder „Direkt“ zu einem Zustand zurück, in "
          "dem er schon einmal war (alle Register und Zellen gleich, keine Eingabe dazwischen), "
          "dann endet er nie: Er schaltet auf „Schritt“ um und meldet die Endlosschleife mit "
          "der Zeile, ab der sie sich wiederholt."},
         ""},
        {"Zurück",
         {"Bei der Geschwindigkeit „Schritt“ nimmt „Zurück“ die zuletzt ausgeführte Anweisung "
          "zurück: Die Register, die Zelle, die sie geschrieben hat, und „Schritte:“ sind "
          "wieder wie vorher. Jeder weitere Druck geht einen Schritt weiter zurück, bis zu "
          "100 000 Schritte.",
          "Auch nach dem Ende eines Laufs geht das, solange weder Programm noch Daten geändert "
          "wurden und kein neuer Lauf begonnen hat. Der Lauf ist dann wieder im Gange, und "
          "„Schritt“ geht von dort weiter."},
         ""},
        {"Haltepunkte",
         {"F9 setzt auf der Zeile mit dem Cursor einen Haltepunkt oder nimmt ihn weg, ebenso "
          "ein Klick auf die Zeilennummer oder „Haltepunkt ein/aus“ im Menü der rechten "
          "Maustaste. Die Zeile wird hellrot.",
          "Ein Lauf bei „Langsam“, „Schnell“ oder „Direkt“ schaltet vor einer solchen Zeile auf "
          "„Schritt“ um: Zu sehen ist der Zustand, bevor die Zeile ausgeführt wird. Weiter geht "
          "es mit „Schritt“ oder einer Geschwindigkeit. Haltepunkte auf leeren Zeilen und "
          "Kommentaren halten nicht an. Haltepunkte werden nicht mit dem Programm "
          "gespeichert."},
         ""},
        {"Das Fenster „Aufgabe“",
         {"„Aufgabe“ im Bereich „Ablauf“ öffnet das Fenster „Aufgabe“. Darin öffnet "
          "„Laden…“ eine Aufgabendatei der Lehrkraft (*.toml); das Fenster zeigt ihre Fälle mit "
          "Punkten und Eingaben.",
          "„Testen“ prüft das Programm im Editor, so wie es gerade dasteht, mit jedem Fall und "
          "zeigt „bestanden“ oder was nicht stimmt, dazu die erreichten Punkte. Programm, Daten "
          "und Lauf des Hauptfensters bleiben dabei unberührt.",
          "„Fall übernehmen“ setzt die Anfangsdaten des gewählten Falls in die Daten, um ihn "
          "Schritt für Schritt zu verfolgen; seine Eingaben bleiben im Fenster „Aufgabe“ zu "
          "sehen."},
         ""},
    };
}

}  // namespace

const std::vector<PrimerSection>& primerSections() {
    static const std::vector<PrimerSection> sections = makeSections();
    return sections;
}

}  // namespace quarzel
