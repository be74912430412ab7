// The recovery copy's and the journal's readers: any bytes, as a copy or a journal left in the
// folder may hold, are read without harm; a header that reads is written again as the same
// header, any text bytes give a text that is stored and read back unchanged, whole or in two
// pieces, and the records a journal reads are written again as the same bytes.
#include "fuzz/check.h"
#include "recovery/journal_file.h"
#include "recovery/recovery_file.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

bool same(const RecoveryHeader& a, const RecoveryHeader& b)
{
    return a.time == b.time && a.path == b.path && a.identity == b.identity &&
           a.format.encoding == b.format.encoding && a.format.lineEnd == b.format.lineEnd &&
           a.mixedLineEnds.crLf == b.mixedLineEnds.crLf &&
           a.mixedLineEnds.lf == b.mixedLineEnds.lf && a.mixedLineEnds.cr == b.mixedLineEnds.cr &&
           a.textInFile == b.textInFile;
}

void checkHeader(std::string_view bytes)
{
    RecoveryHeader header;
    const std::size_t textStart = parseHeader(bytes, header);
    if (textStart == std::string_view::npos)
        return;
    require(textStart <= bytes.size(), "the text starts inside the copy");
    const std::string written = headerBytes(header);
    RecoveryHeader back;
    require(parseHeader(written, back) == written.size(), "a read header written reads whole");
    require(same(back, header), "a read header written reads as the same");
}

void checkText(std::string_view bytes)
{
    const std::wstring text = recoveryText(bytes);
    std::string stored;
    appendTextBytes(text, stored);
    require(recoveryText(stored) == text, "a read text stored reads back unchanged");
    const std::size_t split = bytes.empty() ? 0 : std::size_t(bytes[0]) % (bytes.size() + 1);
    std::wstring pieces;
    TextFromRecoveryBytes decoder;
    decoder.append(bytes.substr(0, split), pieces);
    decoder.append(bytes.substr(split), pieces);
    decoder.finish(pieces);
    require(pieces == text, "a text read in two pieces is the text read whole");
}

void checkJournal(std::string_view bytes)
{
    // The first bytes name the base, as a journal's first line does.
    const ULONGLONG base = bytes.empty() ? 0 : std::uint8_t(bytes[0]);
    std::string journal = journalStart(base);
    journal += bytes.substr(bytes.empty() ? 0 : 1);
    std::string written = journalStart(base);
    const JournalRead read = readJournal(journal, base, [&written](const JournalChange& change) {
        appendJournalRecord(change.position, change.removed, change.inserted, written);
        return true;
    });
    require(read.started, "a journal of its base starts");
    require(journal.compare(0, written.size(), written) == 0,
            "the records read are written again as the same bytes");
    require(read.whole == (written.size() == journal.size()), "whole means every byte was read");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    checkHeader(bytes);
    checkText(bytes);
    checkJournal(bytes);
    return 0;
}
