// Knuth-Morris-Pratt, forwards and backwards: the text is read once and never backed up, so a
// miss on a long document costs one pass however repetitive the needle and the text are. Where
// nothing is matched yet, the scan jumps to the next character an occurrence can begin with,
// which runs far faster than the character-by-character loop.
#include "search/text_search.h"

#include <algorithm>
#include <cwchar>

namespace {

// borders[q] is the length of the longest proper prefix of needle[0..q] that is also its suffix:
// after q + 1 matched characters and a mismatch, that many are still matched.
std::vector<std::size_t> bordersOf(std::wstring_view needle)
{
    std::vector<std::size_t> borders(needle.size(), 0);
    std::size_t length = 0;
    for (std::size_t q = 1; q < needle.size(); ++q) {
        while (length > 0 && needle[q] != needle[length])
            length = borders[length - 1];
        if (needle[q] == needle[length])
            ++length;
        borders[q] = length;
    }
    return borders;
}

std::wstring comparable(std::wstring_view needle, const CaseFold* fold)
{
    std::wstring wanted(needle);
    if (fold)
        std::transform(wanted.begin(), wanted.end(), wanted.begin(), *fold);
    return wanted;
}

// A fixed count of characters tested against count forms without branching, which compiles to
// vector code.
template <int count> bool anyOf(const wchar_t* p, const wchar_t* forms, std::ptrdiff_t group)
{
    wchar_t wanted[count];
    for (int k = 0; k < count; ++k)
        wanted[k] = forms[k];
    unsigned hits = 0;
    for (std::ptrdiff_t j = 0; j < group; ++j)
        for (int k = 0; k < count; ++k)
            hits |= unsigned(p[j] == wanted[k]);
    return hits != 0;
}

std::wstring reversedOf(std::wstring text)
{
    std::reverse(text.begin(), text.end());
    return text;
}

} // namespace

CaseFold::CaseFold(std::vector<wchar_t> table, wchar_t (*beyond)(wchar_t))
    : table_(std::move(table)), beyond_(beyond)
{
}

std::vector<wchar_t> CaseFold::formsOf(wchar_t folded) const
{
    std::vector<wchar_t> forms;
    for (std::size_t c = 0; c < table_.size(); ++c) {
        if (table_[c] == folded)
            forms.push_back(wchar_t(c));
    }
    return forms;
}

TextSearch::Starts::Starts(wchar_t wanted, const CaseFold* fold) : fold_(fold), wanted_(wanted)
{
    std::vector<wchar_t> forms{wanted};
    if (fold)
        forms = fold->covers(wanted) ? fold->formsOf(wanted) : std::vector<wchar_t>{};
    count_ = forms.size() <= 4 ? forms.size() : 0;
    for (std::size_t i = 0; i < 4; ++i)
        forms_[i] = count_ ? forms[std::min(i, count_ - 1)] : wanted;
}

bool TextSearch::Starts::starts(wchar_t c) const
{
    if (count_ == 1)
        return c == forms_[0];
    if (count_ == 0)
        return (*fold_)(c) == wanted_;
    return c == forms_[0] || c == forms_[1] || c == forms_[2] || c == forms_[3];
}

bool TextSearch::Starts::anyIn(const wchar_t* p) const
{
    switch (count_) {
    case 1:
        return anyOf<1>(p, forms_, group);
    case 2:
        return anyOf<2>(p, forms_, group);
    default:
        return anyOf<4>(p, forms_, group);
    }
}

// The first place in [from, to) where an occurrence can begin, or to.
const wchar_t* TextSearch::Starts::next(const wchar_t* from, const wchar_t* to) const
{
    if (count_ == 1) {
        const wchar_t* hit = std::wmemchr(from, forms_[0], std::size_t(to - from));
        return hit ? hit : to;
    }
    const wchar_t* p = from;
    if (count_ > 1) {
        while (to - p >= group && !anyIn(p))
            p += group;
    }
    while (p < to && !starts(*p))
        ++p;
    return p;
}

// The last place in [from, to) where an occurrence can end, or null.
const wchar_t* TextSearch::Starts::previous(const wchar_t* from, const wchar_t* to) const
{
    const wchar_t* p = to;
    if (count_ > 0) {
        while (p - from >= group && !anyIn(p - group))
            p -= group;
    }
    while (p > from && !starts(p[-1]))
        --p;
    return p > from ? p - 1 : nullptr;
}

TextSearch::TextSearch(std::wstring_view needle, const CaseFold* fold)
    : fold_(fold), wanted_(comparable(needle, fold)), reversed_(reversedOf(wanted_)),
      borders_(bordersOf(wanted_)), reversedBorders_(bordersOf(reversed_)),
      first_(wanted_.empty() ? L'\0' : wanted_.front(), fold),
      last_(wanted_.empty() ? L'\0' : wanted_.back(), fold)
{
}

std::size_t TextSearch::forward(std::wstring_view text, std::size_t start) const
{
    const std::size_t n = wanted_.size();
    if (start > text.size() || n > text.size() - start)
        return noMatch;
    if (n == 0)
        return start;
    const wchar_t* data = text.data();
    std::size_t matched = 0;
    std::size_t i = start;
    while (i < text.size()) {
        if (matched == 0) {
            const wchar_t* past = data + text.size() - n + 1; // past the last place to begin
            if (data + i >= past)
                return noMatch;
            const wchar_t* hit = first_.next(data + i, past);
            if (hit == past)
                return noMatch;
            i = std::size_t(hit - data) + 1;
            matched = 1;
        } else if (same(text[i], wanted_[matched])) {
            ++i;
            ++matched;
        } else {
            matched = borders_[matched - 1];
            continue;
        }
        if (matched == n)
            return i - n;
    }
    return noMatch;
}

// The forward search mirrored: the needle back to front, read from the end of the text towards
// its start; j is the position just after the next character to read.
std::size_t TextSearch::backward(std::wstring_view text, std::size_t end) const
{
    const std::size_t n = reversed_.size();
    end = std::min(end, text.size());
    if (n > end)
        return noMatch;
    if (n == 0)
        return end;
    const wchar_t* data = text.data();
    std::size_t matched = 0;
    std::size_t j = end;
    while (j > 0) {
        if (matched == 0) {
            if (j < n)
                return noMatch;
            const wchar_t* hit = last_.previous(data + n - 1, data + j);
            if (!hit)
                return noMatch;
            j = std::size_t(hit - data);
            matched = 1;
        } else if (same(text[j - 1], reversed_[matched])) {
            --j;
            ++matched;
        } else {
            matched = reversedBorders_[matched - 1];
            continue;
        }
        if (matched == n)
            return j;
    }
    return noMatch;
}

std::size_t findForward(std::wstring_view text, std::size_t start, std::wstring_view needle,
                        const CaseFold* fold)
{
    return TextSearch(needle, fold).forward(text, start);
}

std::size_t findBackward(std::wstring_view text, std::size_t end, std::wstring_view needle,
                         const CaseFold* fold)
{
    return TextSearch(needle, fold).backward(text, end);
}
