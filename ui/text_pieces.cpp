// Reading the edit control's text a run of lines at a time.
#include "ui/text_pieces.h"

#include "encoding/text_units.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// EM_GETLINE is told the buffer's size in its first WORD.
constexpr LRESULT longestLineForGetLine = 0xFFFF;

} // namespace

void TextPieces::start(HWND edit)
{
    edit_ = edit;
    lineCount_ = std::size_t(std::max<LRESULT>(1, SendMessageW(edit, EM_GETLINECOUNT, 0, 0)));
    nextLine_ = 0;
    nextStart_ = 0;
    fromSnapshot_ = false;
    snapshot_ = {};
}

bool TextPieces::done() const
{
    return fromSnapshot_ ? snapshotAt_ == snapshot_.text.size() : nextLine_ == lineCount_;
}

TextPieces::Next TextPieces::next(std::size_t characters, std::wstring& piece)
{
    piece.clear();
    if (done())
        return Next::end;
    pieceStart_ = nextStart_;
    while (piece.size() < characters && !done()) {
        if (fromSnapshot_)
            fromSnapshot(characters - piece.size(), piece);
        else if (!readLine(piece))
            return Next::failed;
    }
    if (!fromSnapshot_ && !confirmed(piece)) {
        // Something other than CR LF came between two of the lines: the piece is made again.
        piece.clear();
        takeSnapshot(std::size_t(pieceStart_));
        while (piece.size() < characters && !done())
            fromSnapshot(characters - piece.size(), piece);
    }
    if (fromSnapshot_ && done()) {
        // The copy goes as soon as it is handed out; an empty one is done as well.
        snapshot_ = {};
        snapshotAt_ = 0;
    }
    return Next::piece;
}

// Appends line nextLine_ and the CR LF after it. One message a line: EM_GETLINE with room for
// the longest line it can give tells the length as well, and the next line is taken to start
// after a CR LF, which is what separates the lines of a control that does not wrap. That is
// confirmed once a piece, when the control is asked where the next line starts.
bool TextPieces::readLine(std::wstring& piece)
{
    const LRESULT start = nextStart_;
    if (!line_)
        line_ = std::make_unique_for_overwrite<wchar_t[]>(longestLineForGetLine);
    const WORD room = WORD(longestLineForGetLine);
    std::memcpy(line_.get(), &room, sizeof room);
    const LRESULT length =
        SendMessageW(edit_, EM_GETLINE, nextLine_, reinterpret_cast<LPARAM>(line_.get()));
    if (length < 0)
        return false;
    // A line that filled the buffer may go on beyond it; the copy starts where the lines taken
    // so far are confirmed to end, or else with the piece.
    if (length >= longestLineForGetLine) {
        if (!confirmed(piece))
            piece.clear();
        takeSnapshot(std::size_t(pieceStart_) + piece.size());
        return true;
    }
    piece.append(line_.get(), std::size_t(length));
    ++nextLine_;
    if (nextLine_ == lineCount_)
        return true;
    piece += L"\r\n";
    nextStart_ = start + length + 2;
    return true;
}

// Whether the lines this piece took end where the control says the next line starts, or where
// the text ends after the last one.
bool TextPieces::confirmed(const std::wstring& piece) const
{
    const LRESULT end = pieceStart_ + LRESULT(piece.size());
    if (nextLine_ < lineCount_)
        return SendMessageW(edit_, EM_LINEINDEX, nextLine_, 0) == end;
    return SendMessageW(edit_, WM_GETTEXTLENGTH, 0, 0) == end;
}

void TextPieces::takeSnapshot(std::size_t from)
{
    snapshot_ = wholeText(edit_);
    snapshotAt_ = std::min(from, snapshot_.text.size());
    fromSnapshot_ = true;
}

// Appends at most characters characters from the snapshot, one more where they would end inside
// a CR LF or a surrogate pair.
void TextPieces::fromSnapshot(std::size_t characters, std::wstring& piece)
{
    const std::wstring_view text = snapshot_.text;
    std::size_t count = std::min(characters, text.size() - snapshotAt_);
    if (count > 0 && snapshotAt_ + count < text.size()) {
        const wchar_t last = text[snapshotAt_ + count - 1];
        if (isHighSurrogate(std::uint32_t(last)) ||
            (last == L'\r' && text[snapshotAt_ + count] == L'\n'))
            ++count;
    }
    piece.append(text.substr(snapshotAt_, count));
    snapshotAt_ += count;
}
