// The benchmark's generated documents: ordinary-looking lines of about 80 bytes with CR LF, and
// a single long line, so both the line index and a long line's layout are exercised.
#include "bench/bench.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

namespace bench {

namespace {

constexpr long long megabyte = 1 << 20;

std::string lineNumbered(long long n)
{
    static const char* const words[] = {"alpha", "bravo", "charlie", "delta",  "echo", "foxtrot",
                                        "golf",  "hotel", "india",   "juliet", "kilo", "lima"};
    std::string line = "line " + std::to_string(n) + ":";
    for (long long w = n; line.size() < 78; w = w * 7 + 3)
        line += std::string(" ") + words[w % 12];
    line.resize(78);
    return line + "\r\n";
}

void writeOneLine(const std::string& path, long long bytes)
{
    std::ofstream out(path, std::ios::binary);
    std::string text;
    for (long long n = 0; static_cast<long long>(text.size()) < bytes - 2; ++n)
        text += lineNumbered(n).substr(0, 78) + "  ";
    text.resize(std::size_t(bytes - 2));
    out << text << "\r\n";
}

} // namespace

void writeLines(const std::string& path, long long bytes,
                const std::function<std::string(long long)>& line)
{
    std::ofstream out(path, std::ios::binary);
    long long written = 0;
    for (long long n = 1; written < bytes; ++n) {
        const std::string text = line(n);
        out << text;
        written += static_cast<long long>(text.size());
    }
}

std::vector<Input> makeInputs(const std::string& folder, const std::vector<std::string>& only)
{
    std::filesystem::create_directories(folder);
    std::vector<Input> inputs = {
        {"1 MB", folder + "/lines-1mb.txt", 1 * megabyte},
        {"10 MB", folder + "/lines-10mb.txt", 10 * megabyte},
        {"100 MB", folder + "/lines-100mb.txt", 100 * megabyte},
        {"1 GB", folder + "/lines-1gb.txt", 1024 * megabyte, false},
        {"10 MB, one line", folder + "/one-line-10mb.txt", 10 * megabyte},
    };
    if (!only.empty())
        std::erase_if(inputs, [&](const Input& input) {
            return std::find(only.begin(), only.end(), input.label) == only.end();
        });
    for (Input& input : inputs) {
        if (!std::filesystem::exists(input.path)) {
            std::fprintf(stderr, "writing %s\n", input.path.c_str());
            if (input.label.find("one line") != std::string::npos)
                writeOneLine(input.path, input.bytes);
            else
                writeLines(input.path, input.bytes, lineNumbered);
        }
        input.bytes = static_cast<long long>(std::filesystem::file_size(input.path));
    }
    return inputs;
}

} // namespace bench
