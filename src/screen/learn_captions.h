// The captions of the run's learning aids: "Was geschah", "Verlauf", "Zurück bis Haltepunkt"
// and the protocol with its export, as UTF-8 ("&" before an access key, as in captions.h).
#pragma once

namespace quarzel::captions {

inline constexpr char lbSentence[] = "Was geschah";
inline constexpr char tbHistory[] = "Verlauf";
inline constexpr char tbHistoryTip[] =
    "Verlauf: zurück zu einem früheren Schritt oder wieder vorwärts bis zum neuesten; "
    "Eingaben werden dabei nicht erneut erfragt";
inline constexpr char btBackToBreakpoint[] = "Zurück bis Haltepunkt";
inline constexpr char btBackToBreakpointTip[] =
    "Zurück bis zu der Stelle, an der der Lauf zuletzt vor einer Zeile mit Haltepunkt stand";
inline constexpr char btProtocol[] = "&Protokoll";
inline constexpr char btProtocolTip[] = "Ablaufprotokoll: eine Zeile je ausgeführtem Schritt";
inline constexpr char frmProtocol[] = "Protokoll";
inline constexpr char btTraceExport[] = "Exportieren";
inline constexpr char cbTraceFormat[] = "Format";
inline constexpr char lbTraceEmpty[] = "Noch kein Schritt ausgeführt.";

}  // namespace quarzel::captions
