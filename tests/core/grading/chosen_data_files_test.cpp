// Which chosen file stands for which data file of a task, and when the choice is refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grading/chosen_data_files.h"

namespace quarzel::grading {
namespace {

const std::string kPick = "\nBitte beim Laden alle Datendateien der Aufgabe zusammen auswählen.";
const std::string kApart =
    " haben denselben Dateinamen; die gewählten Dateien lassen nicht erkennen, welche Datei zu "
    "welcher gehört.";

TEST(ChosenDataFiles, StandForTheNamesOrAreRefused) {
    const struct {
        const char* what;
        std::vector<std::string> names;
        std::vector<ChosenFile> chosen;
        std::string outcome;  // the paths for the names, joined by "|", or the problem
    } rows[] = {
        {"single files by name, case aside",
         {"../summe.dta", "negativ.dta"},
         {{"/s/NEGATIV.DTA", ""}, {"/s/summe.dta", ""}},
         "/s/summe.dta|/s/NEGATIV.DTA"},
        {"one missing",
         {"a.dta", "b.dta"},
         {{"/s/a.dta", ""}},
         "Die Datendatei „b.dta“ fehlt." + kPick},
        {"two missing",
         {"../summe.dta", "negativ.dta", "ueberlauf.dta"},
         {{"/s/negativ.dta", ""}},
         "Diese Datendateien fehlen: ../summe.dta, ueberlauf.dta." + kPick},
        {"one file name in two folders, single files",
         {"klein/werte.dta", "gross/werte.dta"},
         {{"/s/werte.dta", ""}},
         "Die Datendateien „klein/werte.dta“ und „gross/werte.dta“" + kApart},
        {"one file name in two folders, a folder chosen",
         {"klein/werte.dta", "gross/werte.dta"},
         {{"/s/1", "aufgabe/gross/werte.dta"}, {"/s/2", "aufgabe/Klein/werte.dta"}},
         "/s/2|/s/1"},
        {"the task's place in the chosen folder decides",
         {"werte.dta", "klein/werte.dta"},
         {{"/s/1", "a/werte.dta"}, {"/s/2", "a/klein/werte.dta"}},
         "Die Datendateien „werte.dta“ und „klein/werte.dta“" + kApart},
        {"beside and above the task",
         {"../summe.dta", "summe.dta"},
         {{"/s/summe.dta", ""}},
         "Die Datendateien „../summe.dta“ und „summe.dta“" + kApart},
        {"one file written two ways",
         {"d.dta", "./x/../d.dta"},
         {{"/s/d.dta", ""}},
         "/s/d.dta|/s/d.dta"},
        {"two chosen files fit one name",
         {"werte.dta"},
         {{"/s/1", "x/werte.dta"}, {"/s/2", "y/werte.dta"}},
         "Zur Datendatei „werte.dta“ passen mehrere der gewählten Dateien: x/werte.dta, "
         "y/werte.dta."},
        {"folders below what lies above the task",
         {"../daten/x.dta"},
         {{"/s/1", "kurs/daten/x.dta"}},
         "/s/1"},
        {"a folder that does not fit",
         {"klein/w.dta"},
         {{"/s/1", "a/w.dta"}},
         "Die Datendatei „klein/w.dta“ fehlt." + kPick},
        {"whole names only",
         {"b.dta"},
         {{"/s/1", "x/ab.dta"}, {"/s/ab.dta", ""}},
         "Die Datendatei „b.dta“ fehlt." + kPick},
        {"a task written on Windows", {"klein\\w.dta"}, {{"/s/1", "a/klein/w.dta"}}, "/s/1"},
        {"no names", {}, {{"/s/1", ""}}, ""},
    };
    for (const auto& row : rows) {
        const DataFileMatch match = matchDataFiles(row.names, row.chosen);
        std::string paths;
        for (const std::string& path : match.paths) {
            paths += (paths.empty() ? "" : "|") + path;
        }
        EXPECT_EQ(match.problem.empty() ? paths : match.problem, row.outcome) << row.what;
        EXPECT_TRUE(match.problem.empty() || match.paths.empty()) << row.what;
    }
}

}  // namespace
}  // namespace quarzel::grading
