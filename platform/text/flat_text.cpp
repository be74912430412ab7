// The edit control's text as one array, kept up to date from where it changed.
#include "platform/text/flat_text.h"

#include "platform/text/huge_pages.h"

#include <algorithm>
#include <cstdlib>

namespace platform {

FlatText::~FlatText()
{
    release();
}

const wchar_t* FlatText::update(const TextStore& store, std::size_t editedFrom)
{
    const std::size_t size = store.size();
    valid_ = std::min({valid_, editedFrom, size});
    if (size + 1 > capacity_) {
        // Room to grow by an eighth before the block moves; realloc moves a large block by
        // remapping its pages, not by copying them.
        const std::size_t capacity = size + 1 + size / 8;
        auto* grown = static_cast<wchar_t*>(std::realloc(data_, capacity * sizeof(wchar_t)));
        if (!grown)
            return nullptr;
        data_ = grown;
        capacity_ = capacity;
        adviseHugePages(data_, capacity_ * sizeof(wchar_t));
    }
    store.copy(valid_, size - valid_, data_ + valid_);
    data_[size] = L'\0';
    valid_ = size;
    return data_;
}

void FlatText::release()
{
    std::free(data_);
    data_ = nullptr;
    capacity_ = 0;
    valid_ = 0;
}

} // namespace platform
