// ADVAPI32's owner and DACL of a file, from its owner, group and permission bits, and the user of
// the process's token. SIDs and ACLs are laid out as on Windows, so the editor reads them with
// Windows' own calls.
#include "platform/qt/kernel/files_p.h"
#include "platform/win32.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr ACCESS_MASK readData = 0x0001;
constexpr ACCESS_MASK writeData = 0x0002 | 0x0004 | 0x0040; // and append, and delete a child
constexpr ACCESS_MASK execute = 0x0020;
constexpr ACCESS_MASK ownersControl = READ_CONTROL | 0x00040000; // and WRITE_DAC

// A SID's bytes: revision 1, the count of sub-authorities, the 48-bit authority (big-endian),
// then the sub-authorities.
std::vector<BYTE> sidOf(BYTE authority, std::initializer_list<DWORD> subAuthorities)
{
    std::vector<BYTE> sid{1, BYTE(subAuthorities.size()), 0, 0, 0, 0, 0, authority};
    for (const DWORD part : subAuthorities) {
        const auto* bytes = reinterpret_cast<const BYTE*>(&part);
        sid.insert(sid.end(), bytes, bytes + sizeof part);
    }
    return sid;
}

std::vector<BYTE> userSid(uid_t user)
{
    return sidOf(22, {1, DWORD(user)});
}

std::size_t sidSize(PSID sid)
{
    return 8 + 4 * std::size_t(static_cast<const BYTE*>(sid)[1]);
}

ACCESS_MASK maskOf(mode_t bits)
{
    return (bits & 4 ? readData : 0) | (bits & 2 ? writeData : 0) | (bits & 1 ? execute : 0);
}

struct Ace {
    ACCESS_MASK mask;
    std::vector<BYTE> sid;
};

// The owner's SID, then the DACL, in one block.
std::vector<BYTE> descriptorOf(const struct stat& status, std::size_t& daclAt)
{
    std::vector<BYTE> block = userSid(status.st_uid);
    daclAt = block.size();
    std::vector<Ace> aces;
    for (Ace ace : {Ace{maskOf(status.st_mode >> 6) | ownersControl, userSid(status.st_uid)},
                    Ace{maskOf(status.st_mode >> 3), sidOf(22, {2, DWORD(status.st_gid)})},
                    Ace{maskOf(status.st_mode), sidOf(1, {0})}}) {
        if (ace.mask)
            aces.push_back(ace);
    }
    ACL acl{2, 0, WORD(sizeof(ACL)), WORD(aces.size()), 0};
    for (const Ace& ace : aces)
        acl.AclSize = WORD(acl.AclSize + 8 + ace.sid.size());
    block.resize(daclAt + sizeof acl);
    std::memcpy(block.data() + daclAt, &acl, sizeof acl);
    for (const Ace& ace : aces) {
        const ACE_HEADER header{ACCESS_ALLOWED_ACE_TYPE, 0, WORD(8 + ace.sid.size())};
        const std::size_t at = block.size();
        block.resize(at + 8);
        std::memcpy(block.data() + at, &header, sizeof header);
        std::memcpy(block.data() + at + 4, &ace.mask, sizeof ace.mask);
        block.insert(block.end(), ace.sid.begin(), ace.sid.end());
    }
    return block;
}

// The current process, the pseudo-handle Windows gives for it.
HANDLE const currentProcess = reinterpret_cast<HANDLE>(LONG_PTR(-1));

// A token is a handle to the process's own folder in /proc.
bool isToken(HANDLE token)
{
    struct stat held;
    struct stat self;
    const int descriptor = platform::descriptorOf(token);
    return descriptor >= 0 && fstat(descriptor, &held) == 0 && stat("/proc/self", &self) == 0 &&
           held.st_dev == self.st_dev && held.st_ino == self.st_ino;
}

} // namespace

namespace {

DWORD describe(const struct stat& status, SECURITY_INFORMATION information, PSID* owner, PACL* dacl,
               PSECURITY_DESCRIPTOR* descriptor)
{
    std::size_t daclAt = 0;
    const std::vector<BYTE> bytes = descriptorOf(status, daclAt);
    auto* block = static_cast<BYTE*>(LocalAlloc(LMEM_FIXED, bytes.size()));
    if (!block)
        return ERROR_NOT_ENOUGH_MEMORY;
    std::memcpy(block, bytes.data(), bytes.size());
    *descriptor = block;
    if (owner)
        *owner = (information & OWNER_SECURITY_INFORMATION) ? block : nullptr;
    if (dacl)
        *dacl = (information & DACL_SECURITY_INFORMATION) ? reinterpret_cast<PACL>(block + daclAt)
                                                          : nullptr;
    return ERROR_SUCCESS;
}

bool supported(SE_OBJECT_TYPE type, SECURITY_INFORMATION information, PSID* group, PACL* sacl,
               PSECURITY_DESCRIPTOR* descriptor)
{
    return type == SE_FILE_OBJECT && !group && !sacl && descriptor &&
           !(information & ~(OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION));
}

} // namespace

DWORD GetSecurityInfo(HANDLE handle, SE_OBJECT_TYPE type, SECURITY_INFORMATION information,
                      PSID* owner, PSID* group, PACL* dacl, PACL* sacl,
                      PSECURITY_DESCRIPTOR* descriptor)
{
    if (!supported(type, information, group, sacl, descriptor))
        return ERROR_INVALID_PARAMETER;
    const int file = platform::descriptorOf(handle);
    struct stat status;
    if (file < 0)
        return ERROR_INVALID_HANDLE;
    if (fstat(file, &status) != 0)
        return platform::errorOf(errno);
    return describe(status, information, owner, dacl, descriptor);
}

DWORD GetNamedSecurityInfoW(LPCWSTR name, SE_OBJECT_TYPE type, SECURITY_INFORMATION information,
                            PSID* owner, PSID* group, PACL* dacl, PACL* sacl,
                            PSECURITY_DESCRIPTOR* descriptor)
{
    if (!name || !supported(type, information, group, sacl, descriptor))
        return ERROR_INVALID_PARAMETER;
    struct stat status;
    if (stat(platform::nativePath(name).c_str(), &status) != 0)
        return platform::errorOf(errno);
    return describe(status, information, owner, dacl, descriptor);
}

HANDLE GetCurrentProcess()
{
    return currentProcess;
}

BOOL OpenProcessToken(HANDLE process, DWORD, HANDLE* token)
{
    if (process != currentProcess || !token) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const int descriptor = open("/proc/self", O_PATH | O_CLOEXEC);
    if (descriptor < 0) {
        SetLastError(platform::errorOf(errno));
        return FALSE;
    }
    *token = platform::handleOf(descriptor);
    return TRUE;
}

BOOL GetTokenInformation(HANDLE token, TOKEN_INFORMATION_CLASS type, LPVOID information, DWORD size,
                         DWORD* needed)
{
    if (!isToken(token) || type != TokenUser || !needed) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::vector<BYTE> sid = userSid(geteuid());
    *needed = DWORD(sizeof(TOKEN_USER) + sid.size());
    if (!information || size < *needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    auto* user = static_cast<TOKEN_USER*>(information);
    BYTE* sidAt = static_cast<BYTE*>(information) + sizeof(TOKEN_USER);
    std::memcpy(sidAt, sid.data(), sid.size());
    *user = {{sidAt, 0}};
    return TRUE;
}

BOOL EqualSid(PSID a, PSID b)
{
    return a && b && sidSize(a) == sidSize(b) && std::memcmp(a, b, sidSize(a)) == 0;
}

BOOL IsWellKnownSid(PSID sid, WELL_KNOWN_SID_TYPE type)
{
    std::vector<BYTE> known;
    if (type == WinLocalSystemSid)
        known = sidOf(5, {18});
    else if (type == WinBuiltinAdministratorsSid)
        known = sidOf(5, {32, 544});
    else
        return FALSE;
    return EqualSid(sid, known.data());
}

BOOL GetAce(PACL acl, DWORD index, LPVOID* ace)
{
    if (!acl || !ace || index >= acl->AceCount) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    BYTE* at = reinterpret_cast<BYTE*>(acl) + sizeof(ACL);
    for (DWORD i = 0; i < index; ++i)
        at += reinterpret_cast<const ACE_HEADER*>(at)->AceSize;
    *ace = at;
    return TRUE;
}
