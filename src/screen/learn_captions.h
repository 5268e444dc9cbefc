// The page's own captions of the run's learning aids: "Was geschah", the slider "Verlauf" and
// the protocol panel's texts, as UTF-8 ("&" before an access key, as in captions.h).
#pragma once

namespace quarzel::captions {

inline constexpr char lbSentence[] = "Was geschah";
inline constexpr char tbHistory[] = "Verlauf";
inline constexpr char tbHistoryTip[] =
    "Verlauf: zurück zu einem früheren Schritt oder wieder vorwärts bis zum neuesten; "
    "Eingaben werden dabei nicht erneut erfragt";
// The page's tip of "Protokoll" (a panel there, headed by "Verlauf" as the window's protocol
// window); the other captions of the protocol, "Verlauf:" and "Zurück bis Haltepunkt" are the
// window's (captions.h).
inline constexpr char btProtocolPanelTip[] =
    "Ablaufprotokoll: eine Zeile je ausgeführtem Schritt, darüber der Verlauf";
inline constexpr char cbTraceFormat[] = "Format";
inline constexpr char lbTraceEmpty[] = "Noch kein Schritt ausgeführt.";

}  // namespace quarzel::captions
