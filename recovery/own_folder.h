// Whether a folder is the user's own, so that what lies in it can be trusted and what is written
// there stays private: the recovery copies hold the user's unsaved text and name a file Save
// writes to.
#pragma once

#include "platform/win32.h"

#include <string>

// A real folder, not a link to one; owned by the user of this process; and no one else may use
// it, but the system and the administrators, whom no folder can keep out.
bool isOwnFolder(const std::wstring& folder);
