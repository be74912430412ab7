// CharUpperBuffW and CharLowerBuffW: each character in place by Unicode's simple case mapping, so
// every letter that has a single other case gets it, not only the ASCII ones.
#include "platform/win32.h"

#include <QChar>

namespace {

template <typename Map> DWORD mapEach(LPWSTR text, DWORD length, Map map)
{
    if (!text)
        return 0;
    for (DWORD i = 0; i < length; ++i)
        text[i] = wchar_t(map(char32_t(text[i])));
    return length;
}

} // namespace

DWORD CharUpperBuffW(LPWSTR text, DWORD length)
{
    return mapEach(text, length, [](char32_t c) { return QChar::toUpper(c); });
}

DWORD CharLowerBuffW(LPWSTR text, DWORD length)
{
    return mapEach(text, length, [](char32_t c) { return QChar::toLower(c); });
}
