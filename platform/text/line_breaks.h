// Line ends across the clipboard: the edit control's text has CR LF between lines, while text from
// other programs may end its lines with CR LF, CR or LF, and programs here expect LF alone.
#pragma once

#include <string>
#include <string_view>

namespace platform::lineBreaks {

// Pasted or dropped text: every CR LF, lone CR and lone LF becomes CR LF.
std::wstring fromClipboard(std::wstring_view text);
// Copied text: each CR LF becomes LF; a lone CR or LF stays as it is.
std::wstring toClipboard(std::wstring_view text);

} // namespace platform::lineBreaks
