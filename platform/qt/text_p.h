// Text across the seam: the editor's wchar_t strings (32-bit here) and Qt's QString.
#pragma once

#include <QString>

#include <string>

namespace platform {

inline QString toQString(const wchar_t* text)
{
    return text ? QString::fromWCharArray(text) : QString();
}

inline QString toQString(const std::wstring& text)
{
    return QString::fromWCharArray(text.data(), qsizetype(text.size()));
}

inline std::wstring toWString(const QString& text)
{
    return text.toStdWString();
}

} // namespace platform
