// What the ways of writing a file share: the writing of the pieces and the file for its owner.
#include "files/write_steps.h"

#include <memory>
#include <new>
#include <stdexcept>

std::wstring folderPartOf(const std::wstring& path)
{
    const auto separator = path.find_last_of(L"/\\");
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator + 1);
}

// A quarter of a megabyte at a time: as fast as larger writes, and a small file's save holds
// little beside its text.
namespace {

DWORD writeEach(HANDLE file, const BytePieces& pieces)
{
    constexpr std::size_t writeSize = 256 << 10;
    const auto piece = std::make_unique_for_overwrite<char[]>(writeSize);
    for (;;) {
        const std::size_t count = pieces(piece.get(), writeSize);
        if (count == stopWriting)
            return ERROR_CANCELLED;
        std::string_view bytes(piece.get(), count);
        if (bytes.empty())
            return ERROR_SUCCESS;
        while (!bytes.empty()) {
            DWORD written = 0;
            if (!WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr))
                return GetLastError();
            if (written == 0)
                return ERROR_WRITE_FAULT;
            bytes.remove_prefix(written);
        }
    }
}

} // namespace

// The pieces are made while they are written: a piece that ran out of memory is a write that
// failed, so the caller cleans up as after a full disk (the temporary goes, the file is put back).
DWORD writeAll(HANDLE file, const BytePieces& pieces)
{
    try {
        return writeEach(file, pieces);
    } catch (const std::bad_alloc&) {
        return ERROR_NOT_ENOUGH_MEMORY;
    } catch (const std::length_error&) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
}

OwnerOnly::OwnerOnly()
{
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(
            L"D:P(A;;FA;;;OW)", SDDL_REVISION_1, &attributes_.lpSecurityDescriptor, nullptr))
        attributes_.lpSecurityDescriptor = nullptr;
}

OwnerOnly::~OwnerOnly()
{
    LocalFree(attributes_.lpSecurityDescriptor);
}
