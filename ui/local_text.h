// A text in the platform's local memory, for a text as large as the document: unlike a string,
// running short of memory is an answer (null) that the user can be told of, not an exception,
// and the block is not filled before it is written (the first touch of that much fresh memory
// costs more than the copy).
#pragma once

#include "platform/win32.h"
#include "ui/text_size.h"

#include <cstddef>
#include <optional>

// Room for length characters and the zero after them.
class LocalText {
public:
    explicit LocalText(std::size_t length)
    {
        if (const std::optional<std::size_t> bytes = textBlockBytes(length, sizeof(wchar_t)))
            block_ = static_cast<wchar_t*>(LocalAlloc(LMEM_FIXED, *bytes));
    }
    ~LocalText()
    {
        if (block_)
            LocalFree(block_);
    }
    LocalText(const LocalText&) = delete;
    LocalText& operator=(const LocalText&) = delete;

    wchar_t* data() const { return block_; }
    bool grow(std::size_t length)
    {
        const std::optional<std::size_t> bytes = textBlockBytes(length, sizeof(wchar_t));
        auto* grown =
            bytes ? static_cast<wchar_t*>(LocalReAlloc(block_, *bytes, LMEM_MOVEABLE)) : nullptr;
        if (grown)
            block_ = grown;
        return grown != nullptr;
    }

private:
    wchar_t* block_ = nullptr;
};
