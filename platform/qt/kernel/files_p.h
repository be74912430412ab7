// What the file calls share: native paths, Win32 error codes and file times from POSIX ones.
#pragma once

#include "platform/win32.h"

#include <string>
#include <string_view>

#include <sys/stat.h>

namespace platform {

// The path in the file system's encoding, per-user names mapped (see SHGetFolderPathW).
std::string nativePath(LPCWSTR name);
// The Win32 error for an errno; with the path, a missing file is told from a missing folder.
DWORD errorOf(int error, const std::string& path = {});
FILETIME fileTimeOf(const timespec& time);
DWORD attributesOf(const struct stat& status);
// The descriptor an open file's handle stands for; -1 for a handle that is not one.
int descriptorOf(HANDLE file);
// The handle of a descriptor, which CloseHandle then closes.
HANDLE handleOf(int descriptor);
// A file name's bytes as wide text and back: a byte that is no part of a UTF-8 character becomes
// the lone surrogate U+DC00 + byte, and back again.
std::wstring nameFromNative(std::string_view bytes);
std::string nativeFromName(std::wstring_view name);
// The mode a new file takes under the security attributes: the descriptor's, or otherwise.
mode_t modeFor(const SECURITY_ATTRIBUTES* security, mode_t otherwise);

} // namespace platform
