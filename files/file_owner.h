// Who owns a file: the user of this process or someone else, read from its security descriptor.
#pragma once

#include "platform/win32.h"

#include <optional>
#include <string>

// The process's user; null when its token cannot be read.
const TOKEN_USER* tokenUser();

// Whether the file or folder open as handle (with READ_CONTROL), or of that name, is owned by the
// process's user; nothing when that cannot be told.
std::optional<bool> ownedByUser(HANDLE handle);
std::optional<bool> ownedByUser(const std::wstring& name);
