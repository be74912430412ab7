// Checking a folder's owner and who else may use it, through its security descriptor.
#include "recovery/own_folder.h"

#include "files/file_owner.h"

namespace {

bool mayBeLetIn(PSID sid, PSID user)
{
    return EqualSid(sid, user) || IsWellKnownSid(sid, WinLocalSystemSid) ||
           IsWellKnownSid(sid, WinBuiltinAdministratorsSid);
}

// No entry lets anyone else in. An entry of a kind not known here might, so it counts as one
// that does; an entry that only passes to what is made inside does not apply to the folder.
bool closedToOthers(PACL dacl, PSID user)
{
    // A folder without a DACL is open to everyone.
    if (!dacl)
        return false;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        LPVOID ace = nullptr;
        if (!GetAce(dacl, i, &ace))
            return false;
        const auto* header = static_cast<const ACE_HEADER*>(ace);
        if (header->AceType == ACCESS_DENIED_ACE_TYPE)
            continue;
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE)
            return false;
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
        if (allowed->Mask != 0 && !mayBeLetIn(&allowed->SidStart, user))
            return false;
    }
    return true;
}

bool ownedByUserAlone(HANDLE folder)
{
    const TOKEN_USER* user = tokenUser();
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!user || ownedByUser(folder) != true ||
        GetSecurityInfo(folder, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                        nullptr, &descriptor) != ERROR_SUCCESS)
        return false;
    const bool own = closedToOthers(dacl, user->User.Sid);
    LocalFree(descriptor);
    return own;
}

} // namespace

bool isOwnFolder(const std::wstring& folder)
{
    // The folder itself, never one a link leads to.
    HANDLE handle = CreateFileW(
        folder.c_str(), READ_CONTROL, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION information;
    const bool own = GetFileInformationByHandle(handle, &information) &&
                     (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                     !(information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
                     ownedByUserAlone(handle);
    CloseHandle(handle);
    return own;
}
