// What a screen reader is told of the multi-line edit control's changes: the text that went and
// came, the caret and the selection. Nothing is sent, and no text copied, while none listens.
#pragma once

#include <cstddef>

namespace platform {

class TextView;

class TextEvents {
public:
    // After the text changed: the model's last edit.
    void edited(TextView* view);
    // After the caret or the selection may have moved.
    void moved(TextView* view);

private:
    std::size_t caret_ = 0;
    std::size_t start_ = 0;
    std::size_t end_ = 0;
};

// Texts longer than this go to a screen reader as a change without the characters.
inline constexpr std::size_t longestToldText = 4096;

} // namespace platform
