// Message boxes as the layer shows them when no answer is scripted: what Esc and the close box
// answer, as Windows answers them.
#include "platform/testing/testing.h"
#include "platform/win32.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class RealBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        scripted_ = platform::messageBoxHook;
        platform::messageBoxHook = nullptr;
    }
    void TearDown() override { platform::messageBoxHook = scripted_; }

private:
    platform::MessageBoxHook scripted_ = nullptr;
};

QMessageBox* shownBox()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible())
            return box;
    }
    return nullptr;
}

enum class Dismissal { escape, closeBox };

// Shows a box of the type and dismisses it once it is up; a box that stays is then answered with
// the button given, and stayed tells so.
int answerOf(UINT type, Dismissal dismissal, QMessageBox::StandardButton then, bool& stayed)
{
    stayed = false;
    // Queued, so it runs inside the box's own loop, once the box is up.
    QMetaObject::invokeMethod(
        qApp,
        [&] {
            QPointer<QMessageBox> box = shownBox();
            ASSERT_TRUE(box);
            if (dismissal == Dismissal::escape)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->close();
            if (!box || !box->isVisible())
                return;
            stayed = true;
            box->button(then)->click();
        },
        Qt::QueuedConnection);
    return MessageBoxW(nullptr, L"Sure?", L"Caption", type);
}

} // namespace

TEST_F(RealBoxTest, EscAndTheCloseBoxAnswerCancelWhereThereIsOneAndNothingInAYesNoBox)
{
    struct Row {
        const char* name;
        UINT type;
        Dismissal dismissal;
        bool stays;
        int answer;
    };
    const Row rows[] = {
        {"Yes/No, Esc", MB_YESNO, Dismissal::escape, true, IDNO},
        {"Yes/No, close box", MB_YESNO, Dismissal::closeBox, true, IDNO},
        {"Yes/No/Cancel, Esc", MB_YESNOCANCEL, Dismissal::escape, false, IDCANCEL},
        {"Yes/No/Cancel, close box", MB_YESNOCANCEL, Dismissal::closeBox, false, IDCANCEL},
        {"OK/Cancel, close box", MB_OKCANCEL, Dismissal::closeBox, false, IDCANCEL},
        {"OK, Esc", MB_OK, Dismissal::escape, false, IDOK},
        {"OK, close box", MB_OK, Dismissal::closeBox, false, IDOK},
        {"Abort/Retry/Ignore, close box", MB_ABORTRETRYIGNORE, Dismissal::closeBox, true, IDIGNORE},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        bool stayed = false;
        const auto then = row.answer == IDIGNORE ? QMessageBox::Ignore : QMessageBox::No;
        EXPECT_EQ(answerOf(row.type, row.dismissal, then, stayed), row.answer);
        EXPECT_EQ(stayed, row.stays);
    }
}
