// The recovery journal's bytes: every change of the text, appended as it is made, after a base
// (the recovery copy it follows). A record is its length, the change (where, how many characters
// it removed, what it inserted, in UTF-16) and a CRC-32 of it all, so that a record cut short by
// a crash, or damaged, ends the replay there and is never taken for text the user typed. Pure
// functions, so tests and fuzzers can call them directly.
#pragma once

#include "platform/win32.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The journal's first line: which copy it follows, by that copy's time.
std::string journalStart(ULONGLONG baseTime);

// One change as its record's bytes, appended to bytes.
void appendJournalRecord(std::size_t position, std::size_t removed, std::wstring_view inserted,
                         std::string& bytes);

struct JournalChange {
    std::size_t position = 0;
    std::size_t removed = 0;
    std::wstring inserted;
};

// Reads a journal: its base time, then each whole and sound record in order, handed to change
// (which returns false to stop). The answer tells how far it got.
struct JournalRead {
    bool started = false; // the first line was whole and named baseTime
    std::size_t changes = 0;
    bool whole = false; // every byte after the first line was a sound record
};
template <typename Change>
JournalRead readJournal(std::string_view bytes, ULONGLONG baseTime, Change change);

// The pieces readJournal is made of.
std::size_t journalStartLength(std::string_view bytes, ULONGLONG baseTime);
// The record at the start of bytes and its length; 0 when there is no sound record there.
std::size_t parseJournalRecord(std::string_view bytes, JournalChange& change);

template <typename Change>
JournalRead readJournal(std::string_view bytes, ULONGLONG baseTime, Change change)
{
    JournalRead read;
    const std::size_t start = journalStartLength(bytes, baseTime);
    if (start == 0)
        return read;
    read.started = true;
    bytes.remove_prefix(start);
    JournalChange next;
    while (!bytes.empty()) {
        const std::size_t length = parseJournalRecord(bytes, next);
        if (length == 0 || !change(next))
            return read;
        ++read.changes;
        bytes.remove_prefix(length);
    }
    read.whole = true;
    return read;
}
