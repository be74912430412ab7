// The per-user folders behind CSIDL_LOCAL_APPDATA and CSIDL_APPDATA and the names inside them, for
// the file calls.
#pragma once

#include <string>

namespace platform {

// The XDG state folder: $XDG_STATE_HOME when it is an absolute path, else ~/.local/state.
std::wstring stateFolder();

// The XDG config folder: $XDG_CONFIG_HOME when it is an absolute path, else ~/.config.
std::wstring configFolder();

// A name inside the state or config folder given in Windows' form ("<state>\Quenwrite\copy") in
// Linux's ("<state>/quenwrite/copy"); any other name as it is.
std::wstring localName(const std::wstring& name);

// Whether what is made at this (Linux) path must be the user's alone: anything in the per-user
// folders, as their inherited permissions make it on Windows.
bool isPrivatePath(const std::wstring& path);

} // namespace platform
