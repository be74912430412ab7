// The per-user folder behind CSIDL_LOCAL_APPDATA and the names inside it, for the file calls.
#pragma once

#include <string>

namespace platform {

// The XDG state folder: $XDG_STATE_HOME when it is an absolute path, else ~/.local/state.
std::wstring stateFolder();

// A name inside the state folder given in Windows' form ("<state>\Quenwrite\copy") in Linux's
// ("<state>/quenwrite/copy"); any other name as it is.
std::wstring localName(const std::wstring& name);

// Whether what is made at this (Linux) path must be the user's alone.
bool isPrivatePath(const std::wstring& path);

} // namespace platform
