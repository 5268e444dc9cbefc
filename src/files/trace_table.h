// The run's protocol ("Ablaufprotokoll") as a table: its columns, the texts of a row as both
// front ends show them, the CSV file (as the grades' CSV: UTF-8 with a byte-order mark, ";"
// between fields) and the HTML page.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "model/trace_row.h"

namespace quarzel {

inline constexpr std::size_t kTraceColumnCount = 10;
using TraceTexts = std::array<std::string, kTraceColumnCount>;

// "Schritt", "Zeile", "Befehl", "Akku", "Fenster", "Index", "Anweisung", "Stack", "Zelle",
// "Zugriff": the protocol's columns, its CSV header.
const std::array<const char*, kTraceColumnCount>& traceColumns();

// "schreiben" or "lesen": the column "Zugriff" of a step that wrote or read a cell.
const char* traceAccessText(bool write);

// A program line as the column "Befehl" shows it: without its trailing blanks and tabs.
std::string_view traceCommand(std::string_view lineText);

// The texts of `row` (Windows-1252): the numbers in decimal, "Zeile" counted from 1, "Befehl"
// the line `lineText` as traceCommand shows it, "Zelle" and "Zugriff" ("lesen" or
// "schreiben") empty when the step touched no cell.
TraceTexts traceTexts(const TraceRow& row, std::string_view lineText);

// The CSV file's first row, the byte-order mark in front.
std::string traceCsvHeader();
// The field "Befehl" of a line (Windows-1252) in the CSV file; a program's lines are made
// into fields once, not at every step that executes them.
std::string traceCsvCommand(std::string_view lineText);
// Appends the CSV row of `row`, whose line's field is `commandField`.
void appendTraceCsvRow(std::string& out, const TraceRow& row, std::string_view commandField);

// The protocol as one HTML page that needs nothing else (UTF-8), the texts escaped as the
// HTML export escapes them.
std::string traceHtmlPage(const std::vector<TraceTexts>& rows);

}  // namespace quarzel
