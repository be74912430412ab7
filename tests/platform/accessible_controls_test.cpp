// The layer's controls as a screen reader finds them: names without the '&' marks, roles, states
// and values; message boxes with their text and buttons; window titles.
#include "platform/qt/hooks_p.h"
#include "platform/qt/windows/window_p.h"
#include "platform/testing/testing.h"
#include "platform/win32.h"
#include "tests/support/parent_window.h"

#include <QAccessible>
#include <QApplication>
#include <QMessageBox>

#include <gtest/gtest.h>

namespace {

LRESULT CALLBACK parentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

QAccessibleInterface* accessibleOf(HWND hwnd)
{
    return QAccessible::queryAccessibleInterface(hwnd->widget.data());
}

// The first interface under root, itself included, with that role and name.
QAccessibleInterface* find(QAccessibleInterface* root, QAccessible::Role role, const QString& name)
{
    if (!root)
        return nullptr;
    if (root->role() == role && root->text(QAccessible::Name) == name)
        return root;
    for (int i = 0; i < root->childCount(); ++i) {
        if (QAccessibleInterface* found = find(root->child(i), role, name))
            return found;
    }
    return nullptr;
}

class AccessibleControlsTest : public ::testing::Test {
protected:
    void SetUp() override { parent = showParentWindow(parentProc, L"Accessible controls window"); }
    void TearDown() override { DestroyWindow(parent); }

    HWND control(const wchar_t* className, const wchar_t* text, DWORD style)
    {
        return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, 10, 10, 120, 30,
                               parent, nullptr, nullptr, nullptr);
    }

    HWND parent = nullptr;
};

TEST_F(AccessibleControlsTest, ControlsAreNamedByTheirTextWithoutAccessKeyMarks)
{
    struct Row {
        const char* name;
        const wchar_t* className;
        const wchar_t* text;
        DWORD style;
        QAccessible::Role role;
        QString accessibleName;
    };
    const Row rows[] = {
        {"push button", L"Button", L"&Open", BS_PUSHBUTTON, QAccessible::Button, "Open"},
        {"check box", L"Button", L"Match &case", BS_AUTOCHECKBOX, QAccessible::CheckBox,
         "Match case"},
        {"label", L"Static", L"Fi&nd what:", SS_LEFT, QAccessible::StaticText, "Find what:"},
        {"label with a doubled mark", L"Static", L"Save && close", SS_LEFT, QAccessible::StaticText,
         "Save & close"},
        {"label without marks", L"Static", L"Tom & Jerry", SS_LEFT | SS_NOPREFIX,
         QAccessible::StaticText, "Tom & Jerry"},
        {"label that looks like markup", L"Static", L"<b>a.txt</b> was changed", SS_LEFT,
         QAccessible::StaticText, "<b>a.txt</b> was changed"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HWND hwnd = control(row.className, row.text, row.style);
        QAccessibleInterface* accessible = accessibleOf(hwnd);
        ASSERT_TRUE(accessible);
        EXPECT_EQ(accessible->role(), row.role);
        EXPECT_EQ(accessible->text(QAccessible::Name), row.accessibleName);
        DestroyWindow(hwnd);
    }
}

TEST_F(AccessibleControlsTest, StatesFollowTheControls)
{
    HWND button = control(L"Button", L"OK", BS_DEFPUSHBUTTON);
    HWND box = control(L"Button", L"Wrap", BS_AUTOCHECKBOX);
    EXPECT_TRUE(accessibleOf(button)->state().defaultButton);
    EXPECT_FALSE(accessibleOf(box)->state().checked);
    SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_TRUE(accessibleOf(box)->state().checked);
    EnableWindow(button, FALSE);
    EXPECT_TRUE(accessibleOf(button)->state().disabled);
    SetFocus(box);
    platform::testing::processEvents();
    EXPECT_TRUE(accessibleOf(box)->state().focused);
}

TEST_F(AccessibleControlsTest, AListBoxListsItsItemsAndTheSelectedOne)
{
    HWND list = control(L"Listbox", L"", LBS_NOTIFY | WS_VSCROLL);
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Western"));
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Unicode"));
    SendMessageW(list, LB_SETCURSEL, 1, 0);
    QAccessibleInterface* accessible = accessibleOf(list);
    EXPECT_EQ(accessible->role(), QAccessible::List);
    QAccessibleInterface* item = find(accessible, QAccessible::ListItem, "Unicode");
    ASSERT_TRUE(item);
    EXPECT_TRUE(item->state().selected);
    EXPECT_TRUE(find(accessible, QAccessible::ListItem, "Western"));
}

TEST_F(AccessibleControlsTest, AWindowIsNamedByItsTitleAndAnOwnedOneIsADialog)
{
    SetWindowTextW(parent, L"notes.txt - Quenwrite");
    EXPECT_EQ(accessibleOf(parent)->role(), QAccessible::Window);
    EXPECT_EQ(accessibleOf(parent)->text(QAccessible::Name), "notes.txt - Quenwrite");
    HWND owned = CreateWindowExW(0, L"Accessible controls window", L"Find", WS_SYSMENU, 0, 0, 200,
                                 100, parent, nullptr, nullptr, nullptr);
    EXPECT_EQ(accessibleOf(owned)->role(), QAccessible::Dialog);
    EXPECT_EQ(accessibleOf(owned)->text(QAccessible::Name), "Find");
    DestroyWindow(owned);
}

TEST_F(AccessibleControlsTest, AMessageBoxShowsItsTextAndNamedButtons)
{
    const platform::MessageBoxHook scripted = platform::messageBoxHook;
    platform::messageBoxHook = nullptr;
    QString caption, text;
    bool buttonFound = false;
    QMetaObject::invokeMethod(
        qApp,
        [&] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(widget);
                if (!box || !box->isVisible())
                    continue;
                QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(box);
                caption = accessible->text(QAccessible::Name);
                if (find(accessible, QAccessible::StaticText, "The file was changed."))
                    text = "The file was changed.";
                QAccessibleInterface* no = find(accessible, QAccessible::Button, "No");
                buttonFound = no;
                if (no)
                    no->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
                else
                    box->reject();
            }
        },
        Qt::QueuedConnection);
    const int answer = MessageBoxW(parent, L"The file was changed.", L"Quenwrite", MB_YESNO);
    platform::messageBoxHook = scripted;
    EXPECT_EQ(caption, "Quenwrite");
    EXPECT_EQ(text, "The file was changed.");
    EXPECT_TRUE(buttonFound);
    EXPECT_EQ(answer, IDNO);
}

} // namespace
