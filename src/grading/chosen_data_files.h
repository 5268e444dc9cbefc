// The data files a task names, matched with the files a user chose for them where there is no
// folder beside the task file to read them from: a browser hands over files, not folders.
#pragma once

#include <string>
#include <vector>

namespace quarzel::grading {

// A file the user chose for the task's data files.
struct ChosenFile {
    std::string path;  // where it can be read now (UTF-8)
    // Where it lies inside a folder the user chose ("aufgabe/klein/werte.dta"), as a browser
    // tells it for a folder; empty when the user chose single files.
    std::string relativePath;
};

// For each name, in order, the path of the chosen file that stands for it; or why the chosen
// files cannot stand for the names (UTF-8), and then no paths.
struct DataFileMatch {
    std::vector<std::string> paths;
    std::string problem;
};

// `names` as the task writes them, relative to its folder (grading::taskDataNames). A chosen
// file with a relative path stands for a name when that path ends with the name's folders and
// file name ("../" aside: a chosen folder does not tell where the task file lies in it); a file
// without one when its file name is the name's; letter case aside, as on the desktops where
// task files are written. Refused, in this order: two names of one file name whose chosen files
// cannot be told apart (both names are told), a name that more than one chosen file stands for,
// names that no chosen file stands for. A wrong file for a name would grade every program
// wrongly without a word.
DataFileMatch matchDataFiles(const std::vector<std::string>& names,
                             const std::vector<ChosenFile>& chosen);

}  // namespace quarzel::grading
