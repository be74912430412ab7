// The multi-line edit control as a screen reader sees it: an editable text whose characters are
// read by the range asked for, straight from the text store, never the whole document at once.
// Offsets are the store's positions, one per character, as AT-SPI counts characters.
#pragma once

#include <QAccessibleWidget>

namespace platform {

class TextView;
class TextStore;

class AccessibleTextView : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface {
public:
    explicit AccessibleTextView(TextView* view);

    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text kind) const override;

    // QAccessibleTextInterface
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                             int* endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                            int* endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                         int* endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

    // QAccessibleEditableTextInterface: as the user would edit, so a read-only control refuses.
    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString& text) override;
    void replaceText(int startOffset, int endOffset, const QString& text) override;

private:
    TextView* view() const;
    const TextStore& store() const;
    std::size_t position(int offset) const; // clamped to the text
    QString item(std::size_t start, std::size_t end, int* startOffset, int* endOffset) const;
    bool readOnly() const;
};

// Characters the screen reader interfaces read from edit controls so far; the tests compare it
// with what they asked for.
std::size_t accessibleCharactersRead();

} // namespace platform
