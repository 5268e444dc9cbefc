// The data check that must pass before a run starts: every value is an optional leading "-"
// followed by digits (or empty).
#pragma once

namespace quarzel {

class DataTable;
class PromptView;

// Shows "Fehler in Zeile n: <text> ist keine Zahl!" ("Datenfehler") for the first bad value.
bool CheckData(const DataTable& table, PromptView& prompts);

}  // namespace quarzel
