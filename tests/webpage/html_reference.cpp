// The window's HTML export of a program and a data file on a given date, written to standard
// output, for the page scenarios to compare the page's export with, byte for byte.
// Usage: html_reference <program.prg> <data.dta> <date>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "common/system_error.h"
#include "common/win1252.h"
#include "files/data_file.h"
#include "files/html_page.h"
#include "files/program_file.h"
#include "model/data_table.h"
#include "session/text_editor.h"

int main(int argc, char** argv) {
    using namespace quarzel;
    if (argc != 4) {
        std::cerr << "Aufruf: html_reference <programm.prg> <daten.dta> <datum>\n";
        return 2;
    }
    try {
        TextEditor editor;
        editor.setText(readProgramFile(argv[1]));
        DataTable table;
        readDataFile(argv[2], table);
        std::vector<std::string> lines;
        for (int line = 0; line < editor.lineCount(); ++line) {
            lines.push_back(editor.lineText(line));
        }
        const std::string page = htmlPageText(htmlPageLines(lines, table, fromUtf8(argv[3])));
        std::fwrite(page.data(), 1, page.size(), stdout);
    } catch (const SystemError& error) {
        std::cerr << toUtf8(error.text()) << "\n";
        return 1;
    }
    return 0;
}
