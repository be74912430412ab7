// The test seam: the application object with scripted boxes, records of what was shown, and
// the user's hands as real Qt input events.
#include "platform/testing/testing.h"

#include "platform/qt/edit/text_view_p.h"
#include "platform/qt/hooks_p.h"
#include "platform/qt/text_p.h"
#include "platform/qt/windows/frame_p.h"
#include "platform/qt/windows/style_p.h"
#include "platform/qt/windows/window_p.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <cwctype>
#include <deque>

namespace platform::testing {

namespace {

struct BoxSeam {
    std::deque<int> answers;
    std::deque<UINT> popupAnswers;
    std::vector<ShownMenuItem> lastPopup;
    std::vector<ShownBox> shown;
    int unscripted = 0;
    std::vector<UINT> beeps;
};

BoxSeam& boxSeam()
{
    static BoxSeam state;
    return state;
}

std::optional<int> scriptedBoxAnswer(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    auto& seam = boxSeam();
    seam.shown.push_back({owner, text ? text : L"", caption ? caption : L"Error", type});
    if (seam.answers.empty()) {
        ++seam.unscripted;
        return std::nullopt;
    }
    const int answer = seam.answers.front();
    seam.answers.pop_front();
    return answer;
}

UINT scriptedPopupAnswer(const std::vector<ShownMenuItem>& items)
{
    auto& seam = boxSeam();
    seam.lastPopup = items;
    if (seam.popupAnswers.empty())
        return 0;
    const UINT answer = seam.popupAnswers.front();
    seam.popupAnswers.pop_front();
    return answer;
}

void recordBeep(UINT type)
{
    boxSeam().beeps.push_back(type);
}

QWidget* widgetOf(HWND hwnd)
{
    return live(hwnd) ? hwnd->widget.data() : nullptr;
}

Qt::KeyboardModifiers qtModifiers(UINT modifiers)
{
    Qt::KeyboardModifiers result;
    if (modifiers & MOD_CONTROL)
        result |= Qt::ControlModifier;
    if (modifiers & MOD_SHIFT)
        result |= Qt::ShiftModifier;
    if (modifiers & MOD_ALT)
        result |= Qt::AltModifier;
    return result;
}

QAction* findAction(const QList<QAction*>& actions, UINT id)
{
    for (QAction* action : actions) {
        if (QMenu* popup = action->menu()) {
            if (QAction* found = findAction(popup->actions(), id))
                return found;
        } else if (!action->isSeparator() && action->data().toULongLong() == id) {
            return action;
        }
    }
    return nullptr;
}

MenuEntry entryOf(QAction* action)
{
    MenuEntry entry{toWString(action->text()), UINT(action->data().toULongLong()), {}};
    entry.checked = action->isChecked();
    entry.radio =
        action->isCheckable() && action->actionGroup() && action->actionGroup()->isExclusive();
    if (QMenu* popup = action->menu()) {
        for (QAction* item : popup->actions())
            entry.items.push_back(entryOf(item));
    }
    return entry;
}

// A menu's title as the user reads it: the access key's mark is not shown, a doubled one shows as
// one ampersand.
QString asShown(const QString& title)
{
    QString shown;
    for (qsizetype i = 0; i < title.size(); ++i) {
        if (title[i] == u'&' && i + 1 < title.size())
            ++i;
        shown += title[i];
    }
    return shown;
}

QMenu* findMenu(const QList<QAction*>& actions, const QString& title)
{
    for (QAction* action : actions) {
        if (QMenu* popup = action->menu()) {
            if (asShown(popup->title()) == title)
                return popup;
            if (QMenu* found = findMenu(popup->actions(), title))
                return found;
        }
    }
    return nullptr;
}

bool (*loopTranslation)(MSG* message) = nullptr;

// The program's loop takes each key the layer held for it before the user's next key.
void takeHeldKeys()
{
    dispatchPosted(loopTranslation);
}

bool windowTakesInput(HWND hwnd)
{
    HWND top = topLevelOf(hwnd);
    return top && top->enabled && (!live(hwnd) || hwnd->enabled);
}

} // namespace

void startApplication(int& argc, char** argv)
{
    static QApplication* application = new QApplication(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    if (application) {
        useStyle();
        messageBoxHook = scriptedBoxAnswer;
        popupMenuHook = scriptedPopupAnswer;
        beepHook = recordBeep;
    }
}

void processEvents()
{
    int idleRounds = 0;
    for (int round = 0; round < 1000 && idleRounds < 3; ++round) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        idleRounds = dispatchPosted(loopTranslation) ? 0 : idleRounds + 1;
    }
}

bool waitFor(const std::function<bool()>& condition, int milliseconds)
{
    QDeadlineTimer deadline(milliseconds);
    for (;;) {
        processEvents();
        if (condition())
            return true;
        if (deadline.hasExpired())
            return false;
        // Rests in an event loop of its own for a short while: events and timers come meanwhile.
        QEventLoop rest;
        QTimer::singleShot(10, &rest, &QEventLoop::quit);
        rest.exec();
    }
}

void translateMessagesWith(bool (*translate)(MSG* message))
{
    loopTranslation = translate;
    holdKeysForTheLoop();
}

bool quitPosted()
{
    return quitRequested();
}

int quitCode()
{
    return quitExitCode();
}

void answerMessageBox(int result)
{
    boxSeam().answers.push_back(result);
}

void choosePopupItem(UINT id)
{
    boxSeam().popupAnswers.push_back(id);
}

const std::vector<ShownMenuItem>& lastPopup()
{
    return boxSeam().lastPopup;
}

const std::vector<ShownBox>& shownBoxes()
{
    return boxSeam().shown;
}

int unscriptedBoxes()
{
    return boxSeam().unscripted;
}

int unusedAnswers()
{
    return int(boxSeam().answers.size());
}

const std::vector<UINT>& beeps()
{
    return boxSeam().beeps;
}

FontInfo fontInfo(HFONT font)
{
    FontInfo info{0, 0, false, L""};
    fontOfRecord(font, info.height, info.weight, info.italic, info.face);
    return info;
}

HFONT fontOf(HWND hwnd)
{
    return reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
}

std::wstring qtFamilyOf(HWND hwnd)
{
    QWidget* widget = widgetOf(hwnd);
    return widget ? toWString(QFontInfo(widget->font()).family()) : L"";
}

std::vector<HWND> windowsOfClass(const wchar_t* className)
{
    std::vector<HWND> result;
    for (HWND hwnd : allWindows()) {
        if (sameClassName(*hwnd->windowClass, className))
            result.push_back(hwnd);
    }
    return result;
}

std::wstring windowTitle(HWND hwnd)
{
    QWidget* widget = widgetOf(hwnd);
    return widget ? toWString(widget->windowTitle()) : L"";
}

bool isVisible(HWND hwnd)
{
    QWidget* widget = widgetOf(hwnd);
    return widget && widget->isVisible();
}

bool hasIcon(HWND hwnd)
{
    QWidget* widget = widgetOf(hwnd);
    return widget && !widget->windowIcon().availableSizes().isEmpty();
}

int visibleScreenWindows()
{
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        count += widget->isVisible() ? 1 : 0;
    return count;
}

std::vector<MenuEntry> menuBarOf(HWND hwnd)
{
    std::vector<MenuEntry> entries;
    FrameWidget* frame = frameOf(hwnd);
    if (!frame || !frame->menuBar())
        return entries;
    for (QAction* action : frame->menuBar()->actions())
        entries.push_back(entryOf(action));
    return entries;
}

void chooseMenuItem(HWND hwnd, UINT id)
{
    FrameWidget* frame = frameOf(hwnd);
    if (!frame || !frame->menuBar() || !windowTakesInput(hwnd))
        return;
    if (QAction* action = findAction(frame->menuBar()->actions(), id);
        action && action->isEnabled())
        action->trigger();
}

std::vector<MenuEntry> openMenu(HWND hwnd, const std::wstring& title)
{
    std::vector<MenuEntry> entries;
    FrameWidget* frame = frameOf(hwnd);
    if (!frame || !frame->menuBar() || !windowTakesInput(hwnd))
        return entries;
    QMenu* popup = findMenu(frame->menuBar()->actions(), toQString(title));
    if (!popup)
        return entries;
    // What showing it starts with, without a popup window that the offscreen platform would make
    // the active window.
    emit popup->aboutToShow();
    for (QAction* action : popup->actions())
        entries.push_back(entryOf(action));
    return entries;
}

void typeText(HWND hwnd, const std::wstring& text)
{
    QWidget* widget = hwnd ? widgetOf(hwnd) : QApplication::focusWidget();
    if (!widget || (hwnd && !windowTakesInput(hwnd)))
        return;
    for (wchar_t c : text) {
        if (c == L'\r')
            continue;
        if (c == L'\n')
            QTest::keyClick(widget, Qt::Key_Return);
        else if (c == L'\t')
            QTest::keyClick(widget, Qt::Key_Tab);
        else if (c < 0x80)
            QTest::keyClicks(widget, QString::fromStdWString(std::wstring(1, c)));
        else // a key of a keyboard for that language, or what an input method commits
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown,
                                QString::fromStdWString(std::wstring(1, c)), Qt::NoModifier);
        takeHeldKeys();
    }
}

void pressKey(HWND hwnd, int virtualKey, UINT modifiers)
{
    QWidget* widget = widgetOf(hwnd);
    if (!widget || !windowTakesInput(hwnd))
        return;
    QTest::keyClick(widget, qtKeyOf(WPARAM(virtualKey)), qtModifiers(modifiers));
    takeHeldKeys();
}

void click(HWND hwnd)
{
    QWidget* widget = widgetOf(hwnd);
    if (!widget || !windowTakesInput(hwnd))
        return;
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

void clickCloseBox(HWND hwnd)
{
    FrameWidget* frame = frameOf(hwnd);
    if (!frame || !windowTakesInput(hwnd))
        return;
    QCloseEvent close;
    QCoreApplication::sendEvent(frame, &close);
}

void activate(HWND hwnd)
{
    HWND top = topLevelOf(hwnd);
    if (top && top->enabled)
        platform::activate(top, WA_CLICKACTIVE);
}

void deactivateAll()
{
    platform::activate(nullptr, WA_INACTIVE);
}

void scrollBy(HWND hwnd, int lines)
{
    TextView* edit = textViewOf(hwnd);
    if (!edit || !windowTakesInput(hwnd))
        return;
    const QPointF at = edit->viewport()->rect().center();
    QWheelEvent wheel(at, edit->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -40 * lines),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(edit->viewport(), &wheel);
}

Selection selection(HWND edit)
{
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {int(start), int(end)};
}

int firstVisibleLine(HWND edit)
{
    TextView* widget = textViewOf(edit);
    return widget ? widget->firstVisibleLine() : -1;
}

int visibleLineCount(HWND edit)
{
    TextView* widget = textViewOf(edit);
    return widget ? widget->visibleLineCount() : 0;
}

} // namespace platform::testing
