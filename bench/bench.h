// The editor benchmark's parts: its generated inputs, the measuring runs (each in a process of
// its own, as the editor starts from fresh globals) and the table that compares them.
#pragma once

#include <functional>
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

// Writes lines made by line(1), line(2), ... until the file holds at least that many bytes.
void writeLines(const std::string& path, long long bytes,
                const std::function<std::string(long long)>& line);

// Writes the encoding inputs into folder unless they are there already: 100 MB of lines of
// about 80 characters with an accented letter in each, as UTF-8 and as 8-bit (code page 1252),
// and 100 MB of UTF-8 Cyrillic and of UTF-8 CJK text, all with LF line ends.
std::vector<Input> makeEncodingInputs(const std::string& folder);

// A run's figures by name: milliseconds (open, save, find, typeEnd, typeStart, typeMiddle, enter,
// joinLines, paste, undo, scroll) and kilobytes (rssStart, rssOpen, rssPeak).
using Figures = std::map<std::string, double>;

// Child processes: print one "name value" line per figure as soon as it is measured.
int runEditor(int argc, char** argv, const std::string& path);
int runOpenSave(int argc, char** argv, const std::string& path); // open, rssOpen, save only
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

// The table of the encodings: UTF-8 against 8-bit in the same run, and the memory a text beyond
// one byte per character takes. Each open and save is the median of a few runs.
std::string encodingTable(const std::string& self, const std::string& folder);

} // namespace bench
