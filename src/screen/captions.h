// The captions of the main window's controls, as UTF-8. An "&" marks the access key of the
// letter after it (Alt and the letter); the accessible name is the caption without it.
#pragma once

namespace quarzel::captions {

inline constexpr char gbProgram[] = "Programm";
inline constexpr char gbData[] = "Daten";
inline constexpr char gbVMInspector[] = "VM";
inline constexpr char gbVMAccu[] = "Akku";
inline constexpr char gbVMWindow[] = "Fenster";
inline constexpr char gbVMIndex[] = "Index";
inline constexpr char gbVMIP[] = "Anweisung";
inline constexpr char gbVMSP[] = "Stack";
inline constexpr char gbFlowControl[] = "Ablauf";
inline constexpr char btCheck[] = "Prüfen";
inline constexpr char btRun[] = "Start";
inline constexpr char btStep[] = "Schritt";
inline constexpr char gbSpeed[] = "Geschwindigkeit";
inline constexpr char rbStep[] = "Schritt";
inline constexpr char rbSlow[] = "Langsam";
inline constexpr char rbFast[] = "Schnell";
inline constexpr char rbDirect[] = "Direkt";
inline constexpr char btBack[] = "Zu&rück";
inline constexpr char btBackTip[] =
    "Nimmt die zuletzt ausgeführte Anweisung zurück (bei Geschwindigkeit „Schritt“).";
inline constexpr char lbStepsPrefix[] = "Schritte: ";
inline constexpr char lbStepsTip[] = "Ausgeführte Anweisungen dieses Laufs";
// "u" is the one letter of its caption that no other control of the window uses.
inline constexpr char btAufgabe[] = "A&ufgabe";
// The editor's context menu entry for breakpoints (F9), and what it does.
inline constexpr char actBreakpoint[] = "Haltepunkt ein/aus";
inline constexpr char actBreakpointTip[] =
    "Haltepunkt ein/aus (F9): Ein Lauf mit „Langsam“, „Schnell“ oder „Direkt“ schaltet vor "
    "dieser Zeile auf „Schritt“ um.";
// The task window "Aufgabe" and its controls (accessible names end in "Name").
inline constexpr char frmAufgabe[] = "Aufgabe";
inline constexpr char lbTaskNone[] = "Keine Aufgabe geladen";
inline constexpr char lbTaskTitleName[] = "Titel der Aufgabe";
inline constexpr char twCasesName[] = "Fälle";
inline constexpr char colCase[] = "Fall";
inline constexpr char colPoints[] = "Punkte";
inline constexpr char colInputs[] = "Eingaben";
inline constexpr char colResult[] = "Ergebnis";
inline constexpr char lbPointsName[] = "Punkte";
inline constexpr char lbInputsName[] = "Eingaben des übernommenen Falls";
inline constexpr char btTaskLoad[] = "&Laden…";
inline constexpr char btTaskLoadTip[] = "Öffnet eine Aufgabendatei (*.toml).";
inline constexpr char btTaskTest[] = "&Testen";
inline constexpr char btTaskTestTip[] = "Prüft das Programm im Editor mit jedem Fall der Aufgabe.";
inline constexpr char btTaskTakeOver[] = "&Fall übernehmen";
inline constexpr char btTaskTakeOverTip[] =
    "Setzt die Anfangsdaten des gewählten Falls in die Daten des Hauptfensters, zum "
    "schrittweisen Verfolgen.";
inline constexpr char btAufgabeTip[] =
    "Zeigt das Fenster „Aufgabe“: das Programm mit den Fällen einer Aufgabe testen.";
inline constexpr char enumberTip[] = "Nummer:";
inline constexpr char evalueTip[] = "Inhalt:";
inline constexpr char ecommentTip[] = "Kommentar:";
inline constexpr char pbMemory[] = "Speicherbild";
// The command group has no caption on the screen; a screen reader still names it.
inline constexpr char gbFile[] = "Befehle";
inline constexpr char btNew[] = "&Neu";
inline constexpr char btLoad[] = "&Laden";
inline constexpr char btSave[] = "&Speichern";
inline constexpr char btHTML[] = ".HTML E&xport";
inline constexpr char btView[] = "&Ansicht";
inline constexpr char btHelp[] = "&Hilfe";
inline constexpr char btExit[] = "&Ende";
// "B" is free among the window's access keys.
inline constexpr char btExamples[] = "&Beispiele";
// Where the button is narrower than the others (a window of 800 x 600): on two lines.
inline constexpr char btExamplesNarrow[] = "&Bei-\nspiele";
inline constexpr char btExamplesTip[] =
    "Lädt eines der mitgelieferten Beispielprogramme mit seinen Daten.";
// The list of examples (a menu in the window, a list box in the page).
inline constexpr char lsExamplesName[] = "Beispielprogramme";
inline constexpr char frmHilfe[] = "Befehlsreferenz";
// The two pages of the reference window: the command list and the primer ("Einführung").
inline constexpr char tsCommandList[] = "Befehlsliste";
inline constexpr char frmData[] = "Dateneingabe";

// "Was geschah" and the protocol ("Protokoll"), with "Verlauf" in the protocol's window. The
// window reads these directly. Each access key is a letter no control of the main window uses,
// so that one letter never means two commands to the learner.
inline constexpr char lbSentenceName[] = "Was geschah";
inline constexpr char btProtocol[] = "&Protokoll";
inline constexpr char btProtocolTip[] =
    "Zeigt das Fenster „Protokoll“: jeder Schritt des Laufs als Zeile, und den Verlauf.";
inline constexpr char frmProtocol[] = "Protokoll";
inline constexpr char tvTraceName[] = "Ablaufprotokoll";
inline constexpr char lbHistory[] = "&Verlauf:";
inline constexpr char slHistoryName[] = "Verlauf";
inline constexpr char slHistoryTip[] =
    "Zurück zu einem früheren Schritt oder wieder vor bis zum neuesten (bei Geschwindigkeit "
    "„Schritt“); Eingaben kommen aus dem Lauf.";
inline constexpr char btBackToBreakpoint[] = "&Zurück bis Haltepunkt";
inline constexpr char btBackToBreakpointTip[] =
    "Zurück bis dahin, wo der Lauf zuletzt vor einer Zeile mit Haltepunkt stand.";
inline constexpr char btTraceExport[] = "Exp&ortieren";
inline constexpr char btTraceExportTip[] =
    "Schreibt das Protokoll als CSV-Datei oder als HTML-Seite.";
inline constexpr char actTraceCsv[] = "Als &CSV-Datei…";
inline constexpr char actTraceHtml[] = "Als &HTML-Seite…";

}  // namespace quarzel::captions
