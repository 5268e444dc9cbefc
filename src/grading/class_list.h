// The programs of a class: found in the files and folders a teacher names, each file once,
// in the order of a class list.
#pragma once

#include <string>
#include <vector>

namespace quarzel::grading {

// True when `a` comes before `b` in a class list: letters without regard to case, an umlaut
// with its base letter (ä as a, ß as ss), a run of digits by its value ("p2" before "p10").
// Names equal in that order keep the order of their bytes. UTF-8.
bool classListLess(const std::string& a, const std::string& b);

// A .prg file named or found in a named folder (not recursively). `name` is the file name, or
// the path where two programs share a file name.
struct FoundProgram {
    std::string name;
    std::string path;
    // Found in a folder, but a link to a file outside it: not to be read, since a learner
    // could point it at any file the teacher may read.
    bool leavesFolder = false;
};

// Every program once, however its path is written ("abg/a.prg" and "./abg/a.prg"), ordered
// by classListLess of the file names and then of the paths. A file named on its own is taken
// as it is, a link too.
std::vector<FoundProgram> findPrograms(const std::vector<std::string>& paths);

}  // namespace quarzel::grading
