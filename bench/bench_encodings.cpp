// The encodings' inputs and table: opening 100 MB of UTF-8 against the same lines as 8-bit text,
// saving it, and the memory at rest of texts whose characters need more than one byte.
#include "bench/bench.h"
#include "bench/sections.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>

namespace bench {

namespace {

constexpr long long size = 100LL << 20;
constexpr int repeats = 3;
constexpr int runTimeoutSeconds = 180;

// Lines of words with one accented letter each, é as its UTF-8 or its 1252 bytes.
std::string accentedLine(long long n, const std::string& eAcute)
{
    static const char* const words[] = {"alpha", "bravo", "charlie", "delta", "echo", "foxtrot",
                                        "golf",  "hotel", "india",   "kilo",  "lima", "mike"};
    std::string line = "line " + std::to_string(n) + ": caf" + eAcute;
    for (long long w = n; line.size() < 78; w = w * 7 + 3)
        line += std::string(" ") + words[w % 12];
    return line + "\n";
}

// Lines of about 80 characters from a list of UTF-8 words.
std::function<std::string(long long)> wordLines(std::vector<std::string> words, std::size_t length,
                                                const char* gap)
{
    return [words = std::move(words), length, gap](long long n) {
        std::string line;
        std::size_t characters = 0;
        for (long long w = n; characters < length; w = w * 7 + 3) {
            const std::string& word = words[std::size_t(w) % words.size()];
            line += word + gap;
            characters +=
                std::size_t(std::count_if(
                    word.begin(), word.end(),
                    [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; })) +
                std::string(gap).size();
        }
        return line + "\n";
    };
}

ChildResult medianOf(const std::string& self, const Input& input, const char* figure)
{
    std::vector<ChildResult> runs;
    for (int i = 0; i < repeats; ++i)
        runs.push_back(runChild(self, {"run-open-save", input.path}, runTimeoutSeconds));
    std::sort(runs.begin(), runs.end(), [figure](const ChildResult& a, const ChildResult& b) {
        const auto value = [figure](const ChildResult& run) {
            const auto found = run.figures.find(figure);
            return found == run.figures.end() ? 1e12 : found->second;
        };
        return value(a) < value(b);
    });
    return runs[runs.size() / 2];
}

double figureOf(const ChildResult& run, const char* name)
{
    const auto found = run.figures.find(name);
    return found == run.figures.end() ? -1 : found->second;
}

std::string ratioOf(double ours, double against)
{
    char text[32] = "-";
    if (ours > 0 && against > 0)
        std::snprintf(text, sizeof text, "%.2f", ours / against);
    return text;
}

std::string row(const std::string& input, const char* operation, const std::string& ours,
                const std::string& against, const std::string& ratio)
{
    return "| " + input + " | " + operation + " | " + ours + " | " + against + " | " + ratio +
           " |\n";
}

std::string milliseconds(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, value < 0 ? "failed" : "%.0f ms", value);
    return text;
}

// The wall time of a step with the processor time it took.
std::string timesOf(const ChildResult& run, const char* name)
{
    const double cpu = figureOf(run, (std::string(name) + "Cpu").c_str());
    return milliseconds(figureOf(run, name)) + " (CPU " + milliseconds(cpu) + ")";
}

double loadAverage()
{
    double load = -1;
    if (FILE* file = std::fopen("/proc/loadavg", "r")) {
        if (std::fscanf(file, "%lf", &load) != 1)
            load = -1;
        std::fclose(file);
    }
    return load;
}

// The memory the open document added, over the process's own size after start-up.
double timesSize(const ChildResult& run, long long bytes)
{
    const double open = figureOf(run, "rssOpen");
    return open < 0 ? -1 : (open - figureOf(run, "rssStart")) * 1024.0 / double(bytes);
}

std::string times(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, value < 0 ? "failed" : "%.2f x", value);
    return text;
}

} // namespace

std::vector<Input> makeEncodingInputs(const std::string& folder)
{
    std::filesystem::create_directories(folder);
    const auto utf8Accent = [](long long n) { return accentedLine(n, "\xC3\xA9"); };
    const auto eightBitAccent = [](long long n) { return accentedLine(n, "\xE9"); };
    const auto cyrillic = wordLines({"съешь", "же", "ещё", "этих", "мягких", "французских", "булок",
                                     "да", "выпей", "чаю", "широкая", "электрификация"},
                                    80, " ");
    const auto cjk = wordLines({"日本", "語の", "文章", "漢字", "東京", "大阪", "中国", "文字",
                                "編集", "保存", "開く", "検索", "。", "、"},
                               40, "");
    const std::pair<Input, std::function<std::string(long long)>> inputs[] = {
        {{"100 MB 8-bit, an accented letter per line", folder + "/accent-8bit-100mb.txt", 0},
         eightBitAccent},
        {{"100 MB UTF-8, an accented letter per line", folder + "/accent-utf8-100mb.txt", 0},
         utf8Accent},
        {{"100 MB UTF-8 Cyrillic", folder + "/cyrillic-utf8-100mb.txt", 0}, cyrillic},
        {{"100 MB UTF-8 CJK", folder + "/cjk-utf8-100mb.txt", 0}, cjk},
    };
    std::vector<Input> made;
    for (const auto& [input, line] : inputs) {
        if (!std::filesystem::exists(input.path)) {
            std::fprintf(stderr, "writing %s\n", input.path.c_str());
            writeLines(input.path, size, line);
        }
        made.push_back(input);
        made.back().bytes = static_cast<long long>(std::filesystem::file_size(input.path));
    }
    return made;
}

std::string encodingTable(const std::string& self, const std::string& folder)
{
    const std::vector<Input> inputs = makeEncodingInputs(folder);
    std::string table = std::string(encodingSectionTitle) +
                        "\n\n| input | operation | Quenwrite | measured against | ratio |\n"
                        "|---|---|---|---|---|\n";
    std::vector<ChildResult> opened;
    for (const Input& input : inputs) {
        std::fprintf(stderr, "measuring %s\n", input.label.c_str());
        opened.push_back(medianOf(self, input, "open"));
    }
    const ChildResult& eightBit = opened[0];
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        const ChildResult saved = medianOf(self, inputs[i], "save");
        const bool utf8Accent = i == 1;
        // Against the 8-bit file's open, in wall time and in processor time.
        const std::string openRatio =
            ratioOf(figureOf(opened[i], "open"), figureOf(eightBit, "open")) + " (CPU " +
            ratioOf(figureOf(opened[i], "openCpu"), figureOf(eightBit, "openCpu")) + ")";
        table += row(inputs[i].label, "Open (command to painted text)", timesOf(opened[i], "open"),
                     i == 0 ? "-" : "the 8-bit file: " + timesOf(eightBit, "open"),
                     i == 0 ? "-" : openRatio);
        table += row(inputs[i].label, "Save, unchanged", timesOf(saved, "save"),
                     utf8Accent ? "at most 1000 ms" : "-",
                     utf8Accent ? ratioOf(figureOf(saved, "save"), 1000) : "-");
        const double memory = timesSize(opened[i], inputs[i].bytes);
        const bool wide = i >= 2;
        table += row(inputs[i].label, "RSS at rest after open, x size", times(memory),
                     wide ? "at most 3 x" : "-", wide ? ratioOf(memory, 3) : "-");
    }
    char load[96];
    std::snprintf(load, sizeof load, "\nLoad average at the end of the run: %.1f.\n",
                  loadAverage());
    return table + load;
}

} // namespace bench
