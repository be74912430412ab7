// The text of "settings.ini" without the file around it: the tolerant reader and the fixed writer.
#pragma once

#include <string>
#include <string_view>

struct FontChoice {
    int size;
    int weight;
    bool italic;
    std::wstring family;
};

// Applies every key line of the file's bytes to the choice, in file order; fields that no line
// sets, or whose number does not read, keep their value.
void readSettingsText(std::string_view fileBytes, FontChoice& choice);

// The exact bytes of the file for a choice: five lines, CR LF after the first four.
std::string settingsText(int size, int weight, bool italic, const wchar_t* family);
