// The flat copy of the edit control's text that its handle locks: after any run of user edits,
// brought up to date from where they began, it is the text.
#include "platform/text/edit_model.h"
#include "platform/text/flat_text.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

using platform::EditModel;
using platform::FlatText;

TEST(FlatText, FollowsEveryEditFromWhereItBegan)
{
    std::mt19937 random(17);
    EditModel edit;
    edit.setLimit(0x7FFFFFFE);
    edit.setText(L"first line\r\nsecond line\r\nthird");
    FlatText flat;
    for (int step = 0; step < 600; ++step) {
        const std::size_t size = edit.text().size();
        const std::size_t at = random() % (size + 1);
        edit.select(at, std::min(size, at + random() % 4));
        switch (random() % 6) {
        case 0:
            edit.replaceSelection(L"xy\r\n", EditModel::Fit::whole);
            break;
        case 1:
            edit.eraseBackward(false);
            break;
        case 2:
            edit.eraseForward(random() % 2);
            break;
        case 3:
            edit.undo();
            break;
        case 4: // large enough to join the text as set
            if (random() % 10 == 0)
                edit.replaceSelection(std::wstring(70000, L'é'), EditModel::Fit::unlimited);
            break;
        default:
            edit.replaceSelection(L"é", EditModel::Fit::unlimited);
            break;
        }
        if (random() % 3 != 0)
            continue; // several edits between two looks
        SCOPED_TRACE(step);
        const wchar_t* text = flat.update(edit.text(), edit.takeEditedFrom());
        ASSERT_NE(text, nullptr);
        ASSERT_EQ(std::wstring(text), edit.text().text(0, edit.text().size()));
        ASSERT_GE(flat.capacity(), edit.text().size() + 1);
    }
    flat.release();
    EXPECT_EQ(flat.capacity(), 0u);
    EXPECT_EQ(std::wstring(flat.update(edit.text(), 0)), edit.text().text(0, edit.text().size()));
}

} // namespace
