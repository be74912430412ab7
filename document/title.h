// Deriving a document's name from its path.
#pragma once

#include <string>

// The part of the path after its last '/' or '\'; the whole path when it has neither.
std::wstring fileNameOf(const std::wstring& path);
