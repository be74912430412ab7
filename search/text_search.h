// Forward and backward search for a string in a text, in time linear in both, with case or
// without.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::size_t noMatch = std::size_t(-1);

// How characters compare when case does not matter: each maps to one representative of its
// letter, the same for its capital and its small form (and for the other forms some letters
// have, such as the final sigma). The table covers the characters below its size; the others map
// through beyond, or to themselves without it.
class CaseFold {
public:
    explicit CaseFold(std::vector<wchar_t> table, wchar_t (*beyond)(wchar_t) = nullptr);

    wchar_t operator()(wchar_t c) const
    {
        if (std::size_t(c) < table_.size())
            return table_[std::size_t(c)];
        return beyond_ ? beyond_(c) : c;
    }
    // Every character of the table that maps to folded.
    std::vector<wchar_t> formsOf(wchar_t folded) const;
    bool covers(wchar_t c) const { return std::size_t(c) < table_.size(); }

private:
    std::vector<wchar_t> table_;
    wchar_t (*beyond_)(wchar_t);
};

// One needle, ready to be looked for in any number of texts and places: as an exact run of
// characters, or, given a fold, character by character after folding both.
class TextSearch {
public:
    TextSearch(std::wstring_view needle, const CaseFold* fold);

    // The smallest position p >= start where the needle occurs in text, or noMatch. An empty
    // needle matches at start whenever start is inside the text or at its end.
    std::size_t forward(std::wstring_view text, std::size_t start) const;
    // The largest position p with p + the needle's length <= end where it occurs, or noMatch;
    // end beyond the text means its end. An empty needle matches at end.
    std::size_t backward(std::wstring_view text, std::size_t end) const;

private:
    // The characters an occurrence can begin (or, backwards, end) with, looked for ahead of the
    // matching itself: the needle's character, or all its forms when case does not matter. Up to
    // four at once; more, or a character beyond the fold's table, fall back to folding each one.
    class Starts {
    public:
        Starts(wchar_t wanted, const CaseFold* fold);
        const wchar_t* next(const wchar_t* from, const wchar_t* to) const;
        const wchar_t* previous(const wchar_t* from, const wchar_t* to) const;

    private:
        static constexpr std::ptrdiff_t group = 16;
        bool starts(wchar_t c) const;
        bool anyIn(const wchar_t* p) const;

        const CaseFold* fold_;
        wchar_t wanted_;
        std::size_t count_ = 0;
        wchar_t forms_[4] = {};
    };

    bool same(wchar_t c, wchar_t wanted) const { return (fold_ ? (*fold_)(c) : c) == wanted; }

    const CaseFold* fold_;
    std::wstring wanted_;   // folded when case does not matter
    std::wstring reversed_; // wanted_ back to front, for the backward search
    std::vector<std::size_t> borders_;
    std::vector<std::size_t> reversedBorders_;
    Starts first_;
    Starts last_;
};

// One search with a needle used once.
std::size_t findForward(std::wstring_view text, std::size_t start, std::wstring_view needle,
                        const CaseFold* fold = nullptr);
std::size_t findBackward(std::wstring_view text, std::size_t end, std::wstring_view needle,
                         const CaseFold* fold = nullptr);
