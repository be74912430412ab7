// Message boxes and beeps. A box is modal to its owner only, runs a nested loop that keeps
// dispatching posted messages, and deactivates and reactivates the owner around it.
#include "platform/qt/hooks_p.h"
#include "platform/qt/text_p.h"
#include "platform/qt/windows/window_p.h"

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QPushButton>

namespace platform {

MessageBoxHook messageBoxHook = nullptr;
BeepHook beepHook = nullptr;

namespace {

struct ButtonSpec {
    QMessageBox::StandardButton qt;
    int result;
};

std::vector<ButtonSpec> buttonsOf(UINT type)
{
    switch (type & 0xF) {
    case MB_OKCANCEL:
        return {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_ABORTRETRYIGNORE:
        return {{QMessageBox::Abort, IDABORT},
                {QMessageBox::Retry, IDRETRY},
                {QMessageBox::Ignore, IDIGNORE}};
    case MB_YESNOCANCEL:
        return {
            {QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_YESNO:
        return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
    case MB_RETRYCANCEL:
        return {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
    default:
        return {{QMessageBox::Ok, IDOK}};
    }
}

QMessageBox::Icon iconOf(UINT type)
{
    switch (type & 0xF0) {
    case MB_ICONERROR:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// Windows ends lines at CR, LF or CR LF; Qt wants LF.
QString boxText(LPCWSTR text)
{
    QString result = toQString(text);
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

int scriptedAnswer(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    HWND previous = GetActiveWindow();
    activate(nullptr, WA_INACTIVE);
    const int answer =
        messageBoxHook(owner, text, caption, type).value_or(buttonsOf(type).front().result);
    if (live(previous))
        activate(previous, WA_ACTIVE);
    return answer;
}

int shownAnswer(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    HWND top = topLevelOf(owner);
    QMessageBox box(iconOf(type), caption ? toQString(caption) : QStringLiteral("Error"),
                    boxText(text), QMessageBox::NoButton, top ? top->widget.data() : nullptr);
    const auto buttons = buttonsOf(type);
    for (const auto& button : buttons)
        box.addButton(button.qt);
    const size_t defaultIndex = (type & MB_DEFBUTTON2) && buttons.size() > 1 ? 1 : 0;
    box.setDefaultButton(buttons[defaultIndex].qt);
    // Yes/No boxes cannot be dismissed: no close box answer, Esc does nothing.
    const bool dismissable = (type & 0xF) != MB_YESNO && (type & 0xF) != MB_ABORTRETRYIGNORE;
    if (dismissable)
        box.setEscapeButton(box.button(buttons.size() > 1 ? buttons.back().qt : buttons[0].qt));
    box.setWindowModality(top ? Qt::WindowModal : Qt::NonModal);
    QEventLoop loop;
    QObject::connect(&box, &QMessageBox::finished, &loop, &QEventLoop::quit);
    ModalScope modal;
    box.show();
    loop.exec();
    QAbstractButton* clicked = box.clickedButton();
    for (const auto& button : buttons) {
        if (clicked && clicked == box.button(button.qt))
            return button.result;
    }
    return dismissable ? (buttons.size() > 1 ? buttons.back().result : buttons[0].result) : 0;
}

} // namespace

} // namespace platform

using namespace platform;

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    if (owner && !live(owner))
        return 0;
    if (!qApp)
        return 0;
    if (messageBoxHook)
        return scriptedAnswer(owner, text, caption, type);
    return shownAnswer(owner, text, caption, type);
}

BOOL MessageBeep(UINT type)
{
    if (beepHook)
        beepHook(type);
    else if (qApp)
        QApplication::beep();
    return TRUE;
}
