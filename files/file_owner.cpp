// Reading a file's owner and the process's user.
#include "files/file_owner.h"

#include <memory>

namespace {

std::unique_ptr<BYTE[]> readTokenUser()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return nullptr;
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    auto user = std::make_unique_for_overwrite<BYTE[]>(size);
    const bool got = size >= sizeof(TOKEN_USER) &&
                     GetTokenInformation(token, TokenUser, user.get(), size, &size);
    CloseHandle(token);
    return got ? std::move(user) : nullptr;
}

} // namespace

// The process's user never changes: it is read once, and a save asks for nothing more.
const TOKEN_USER* tokenUser()
{
    static const std::unique_ptr<BYTE[]> user = readTokenUser();
    return reinterpret_cast<const TOKEN_USER*>(user.get());
}

namespace {

std::optional<bool> isUser(DWORD error, PSID owner, PSECURITY_DESCRIPTOR descriptor,
                           const TOKEN_USER* user)
{
    if (error != ERROR_SUCCESS)
        return std::nullopt;
    const bool own = EqualSid(owner, user->User.Sid);
    LocalFree(descriptor);
    return own;
}

} // namespace

std::optional<bool> ownedByUser(HANDLE handle)
{
    const TOKEN_USER* user = tokenUser();
    if (!user)
        return std::nullopt;
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD error = GetSecurityInfo(handle, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner,
                                        nullptr, nullptr, nullptr, &descriptor);
    return isUser(error, owner, descriptor, user);
}

std::optional<bool> ownedByUser(const std::wstring& name)
{
    const TOKEN_USER* user = tokenUser();
    if (!user)
        return std::nullopt;
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD error =
        GetNamedSecurityInfoW(name.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner,
                              nullptr, nullptr, nullptr, &descriptor);
    return isUser(error, owner, descriptor, user);
}
