// ADVAPI32's security descriptors made from their text form, as far as the editor uses them: a
// file for its owner alone, which on POSIX is a mode.
#include "platform/qt/kernel/files_p.h"
#include "platform/qt/kernel/local_memory_p.h"

#include <cstring>
#include <string_view>

namespace {

// What the layer's descriptor block holds: a mark that it is one, and the mode it stands for.
struct Descriptor {
    char mark[8];
    mode_t mode;
};
constexpr char descriptorMark[8] = "QWSECDS";

} // namespace

namespace platform {

mode_t modeFor(const SECURITY_ATTRIBUTES* security, mode_t otherwise)
{
    if (!security || !security->lpSecurityDescriptor)
        return otherwise;
    const auto* descriptor = static_cast<const Descriptor*>(security->lpSecurityDescriptor);
    return std::memcmp(descriptor->mark, descriptorMark, sizeof descriptorMark) == 0
               ? descriptor->mode
               : otherwise;
}

} // namespace platform

BOOL ConvertStringSecurityDescriptorToSecurityDescriptorW(LPCWSTR text, DWORD revision,
                                                          PSECURITY_DESCRIPTOR* descriptor,
                                                          PULONG size)
{
    // A protected list with one entry: all file access for the file's owner.
    if (!text || !descriptor || revision != SDDL_REVISION_1 ||
        std::wstring_view(text) != L"D:P(A;;FA;;;OW)") {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto* block = static_cast<Descriptor*>(platform::localAlloc(sizeof(Descriptor)));
    if (!block) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    std::memcpy(block->mark, descriptorMark, sizeof descriptorMark);
    block->mode = 0600;
    *descriptor = block;
    if (size)
        *size = sizeof(Descriptor);
    return TRUE;
}
