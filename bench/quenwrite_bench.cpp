// The editor benchmark: runs every measuring run in a process of its own, the editor and the naive
// baseline side by side, and prints one Markdown table with the ratio of each pair, then the
// table of the encodings.
//   quenwrite_bench DATA-FOLDER [TABLE-FILE [INPUT-LABEL...]]
//   quenwrite_bench encodings DATA-FOLDER [TABLE-FILE]   (the encodings table alone: replaces it
//                                                        in TABLE-FILE and keeps the rest)
#include "bench/bench.h"
#include "bench/sections.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

namespace {

constexpr int runTimeoutSeconds = 300;
constexpr int startUpRepeats = 15;

struct Row {
    const char* figure;
    const char* label;
    bool memory;          // a multiple of the file size instead of milliseconds
    bool compared = true; // the baseline does it too
};

const Row rows[] = {
    {"open", "Open (command to painted text)", false},
    {"save", "Save, unchanged", false},
    {"find", "Find, miss", false},
    {"typeEnd", "Type at the end, painted", false},
    {"typeStart", "Type at the start, painted", false},
    {"typeMiddle", "Type at the middle, painted", false},
    {"enter", "Enter at the middle (splits a line), painted", false},
    {"joinLines", "Backspace at a line start (joins two), painted", false},
    {"paste", "Paste 1,000 lines at the middle, painted", false},
    {"undo", "Undo the paste, painted", false},
    {"scroll", "Scroll a page at the middle, painted", false},
    {"rssOpen", "RSS at rest after open, x size", true},
    {"rssPeak", "Peak RSS open + save, x size", true},
    {"typeCopying", "Type while a recovery copy is written, painted", false, false},
    {"copyStep", "Recovery copy, longest step (a key's longest wait)", false, false},
    {"copyWork", "Recovery copy, whole (its steps' work)", false, false},
};

std::string cell(const bench::ChildResult& run, const Row& row, long long bytes, double& value)
{
    const auto found = run.figures.find(row.figure);
    if (found == run.figures.end()) {
        value = -1;
        if (run.figures.empty() && !run.timedOut && run.wallMs == 0)
            return "not run";
        return run.timedOut ? "stopped" : "failed";
    }
    char text[64];
    if (row.memory) {
        // Over the process's own size after start-up, so small files are not drowned by it.
        value = (found->second - run.figures.at("rssStart")) * 1024.0 / double(bytes);
        std::snprintf(text, sizeof text, "%.2f x", value);
    } else {
        value = found->second;
        std::snprintf(text, sizeof text, value < 10 ? "%.2f ms" : "%.0f ms", value);
    }
    return text;
}

std::string ratio(double ours, double baseline)
{
    if (ours <= 0 || baseline <= 0)
        return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", baseline / ours);
    return text;
}

void addInputRows(std::ostringstream& table, const bench::Input& input,
                  const bench::ChildResult& ours, const bench::ChildResult& baseline)
{
    for (const Row& row : rows) {
        double oursValue;
        const std::string oursText = cell(ours, row, input.bytes, oursValue);
        double baselineValue = 0;
        const std::string baselineText =
            row.compared ? cell(baseline, row, input.bytes, baselineValue) : "-";
        table << "| " << input.label << " | " << row.label << " | " << oursText << " | "
              << baselineText << " | " << ratio(oursValue, baselineValue) << " |\n";
    }
}

// The editor and the baseline start in turns, so a change in the machine's load falls on both
// alike; each one's median run counts.
std::pair<bench::ChildResult, bench::ChildResult> medianStartUps(const std::string& self)
{
    std::vector<bench::ChildResult> ours;
    std::vector<bench::ChildResult> baseline;
    for (int i = 0; i < startUpRepeats; ++i) {
        ours.push_back(bench::runChild(self, {"start-editor"}, runTimeoutSeconds));
        baseline.push_back(bench::runChild(self, {"start-baseline"}, runTimeoutSeconds));
    }
    const auto median = [](std::vector<bench::ChildResult>& runs) {
        std::sort(runs.begin(), runs.end(),
                  [](const auto& a, const auto& b) { return a.wallMs < b.wallMs; });
        return runs[runs.size() / 2];
    };
    return {median(ours), median(baseline)};
}

void addStartUpRows(std::ostringstream& table, const std::string& self)
{
    const auto [ours, baseline] = medianStartUps(self);
    char line[256];
    std::snprintf(line, sizeof line,
                  "| no file | Start-up to painted window | %.0f ms | %.0f ms | %s |\n",
                  ours.wallMs, baseline.wallMs, ratio(ours.wallMs, baseline.wallMs).c_str());
    table << line;
    std::snprintf(
        line, sizeof line, "| no file | Peak RSS at start-up | %.1f MB | %.1f MB | %s |\n",
        ours.peakKb / 1024, baseline.peakKb / 1024, ratio(ours.peakKb, baseline.peakKb).c_str());
    table << line;
    const auto offer = ours.figures.find("offer");
    std::snprintf(
        line, sizeof line,
        "| no file | Look for recovery copies at start-up (none there) | %.3f ms | - | - |\n",
        offer == ours.figures.end() ? -1.0 : offer->second);
    table << line;
}

// Only the inputs whose labels are given, when any are.
int orchestrate(const std::string& self, const std::string& folder, const char* tableFile,
                const std::vector<std::string>& only)
{
    std::vector<bench::Input> inputs = bench::makeInputs(folder, only);
    std::ostringstream table;
    table << "| input | operation | Quenwrite | QPlainTextEdit baseline | ratio (baseline / "
             "Quenwrite) |\n|---|---|---|---|---|\n";
    addStartUpRows(table, self);
    for (const bench::Input& input : inputs) {
        std::fprintf(stderr, "measuring %s\n", input.label.c_str());
        const auto ours = bench::runChild(self, {"run-editor", input.path}, runTimeoutSeconds);
        const auto baseline =
            input.withBaseline
                ? bench::runChild(self, {"run-baseline", input.path}, runTimeoutSeconds)
                : bench::ChildResult();
        addInputRows(table, input, ours, baseline);
    }
    if (only.empty())
        table << "\n" << bench::encodingTable(self, folder);
    std::fputs(table.str().c_str(), stdout);
    if (tableFile)
        std::ofstream(tableFile) << table.str();
    return 0;
}

int orchestrateEncodings(const std::string& self, const std::string& folder, const char* tableFile)
{
    const std::string table = bench::encodingTable(self, folder);
    std::fputs(table.c_str(), stdout);
    if (!tableFile)
        return 0;
    std::stringstream kept;
    kept << std::ifstream(tableFile).rdbuf();
    std::string before = kept.str();
    before = before.substr(0, before.find(bench::encodingSectionTitle));
    while (!before.empty() && before.back() == '\n')
        before.pop_back();
    std::ofstream(tableFile) << before << (before.empty() ? "" : "\n\n") << table;
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string self = "/proc/self/exe";
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s DATA-FOLDER [TABLE-FILE]\n", argv[0]);
        return 2;
    }
    const std::string mode = argv[1];
    if (mode == "run-editor" && argc > 2)
        return bench::runEditor(argc, argv, argv[2]);
    if (mode == "run-baseline" && argc > 2)
        return bench::runBaseline(argc, argv, argv[2]);
    if (mode == "start-editor")
        return bench::startEditor(argc, argv);
    if (mode == "start-baseline")
        return bench::startBaseline(argc, argv);
    if (mode == "run-open-save" && argc > 2)
        return bench::runOpenSave(argc, argv, argv[2]);
    if (mode == "encodings" && argc > 2)
        return orchestrateEncodings(self, argv[2], argc > 3 ? argv[3] : nullptr);
    return orchestrate(self, mode, argc > 2 ? argv[2] : nullptr,
                       std::vector<std::string>(argv + std::min(argc, 3), argv + argc));
}
