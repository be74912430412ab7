// The editor benchmark's parts: its generated inputs, the measuring runs (each in a process of
// its own, as the editor starts from fresh globals) and the table that compares them.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace bench {

struct Input {
    std::string label; // as the table shows it
    std::string path;
    long long bytes;
    // The baseline needs some ten times a file's size in memory: not run on the largest.
    bool withBaseline = true;
};

// Writes the inputs into folder unless they are there already: 1, 10, 100 and 1024 MB of CR LF
// lines of about 80 bytes, and one line of 10 MB. With labels given, only those inputs.
std::vector<Input> makeInputs(const std::string& folder, const std::vector<std::string>& only);

// A run's figures by name: milliseconds (open, save, find, typeEnd, typeStart, typeMiddle, enter,
// joinLines, paste, undo, scroll) and kilobytes (rssStart, rssOpen, rssPeak).
using Figures = std::map<std::string, double>;

// Child processes: print one "name value" line per figure as soon as it is measured.
int runEditor(int argc, char** argv, const std::string& path);
int runBaseline(int argc, char** argv, const std::string& path);
int startEditor(int argc, char** argv);
int startBaseline(int argc, char** argv);

// Runs this program again with the arguments, at most timeoutSeconds, and collects what it
// printed; wallMs and peakKb are the child's whole life, timedOut when it was stopped.
struct ChildResult {
    Figures figures;
    double wallMs = 0;
    double peakKb = 0;
    bool timedOut = false;
};
ChildResult runChild(const std::string& self, const std::vector<std::string>& arguments,
                     int timeoutSeconds);

} // namespace bench
