// The edit control's whole text as one NUL-terminated array, for a program that locks the
// control's handle (EM_GETHANDLE) and reads its text in place. The store keeps the text in pieces,
// one byte a character where it can, so the array is a copy: made on the first lock, then kept
// and brought up to date from the first position an edit changed, into the memory it already
// has. Fresh memory costs far more to touch than the copy itself.
#pragma once

#include "platform/text/text_store.h"

#include <cstddef>

namespace platform {

class FlatText {
public:
    FlatText() = default;
    ~FlatText();
    FlatText(const FlatText&) = delete;
    FlatText& operator=(const FlatText&) = delete;

    // The text of store, of which the first editedFrom characters are unchanged since the last
    // call; null when there is no memory for it.
    const wchar_t* update(const TextStore& store, std::size_t editedFrom);
    // Gives the memory back; the next update copies the whole text.
    void release();
    // Characters the memory holds room for, the NUL included.
    std::size_t capacity() const { return capacity_; }

private:
    wchar_t* data_ = nullptr;
    std::size_t capacity_ = 0;
    std::size_t valid_ = 0; // leading characters that match the store
};

} // namespace platform
