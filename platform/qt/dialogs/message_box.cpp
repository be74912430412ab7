// Message boxes and beeps. A box is modal to its owner only, runs a nested loop that keeps
// dispatching posted messages, and deactivates its owner while shown and activates it again when
// it closes.
#include "platform/qt/hooks_p.h"
#include "platform/qt/text_p.h"
#include "platform/qt/windows/window_p.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
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

// A box without Cancel (Yes/No, Abort/Retry/Ignore) cannot be dismissed on Windows: its close
// box is disabled and Esc does nothing, so only its buttons answer.
class NoDismissal : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Close) {
            event->ignore();
            return true;
        }
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            return true;
        return QObject::eventFilter(watched, event);
    }
};

bool dismissable(UINT type)
{
    return (type & 0xF) != MB_YESNO && (type & 0xF) != MB_ABORTRETRYIGNORE;
}

int shownAnswer(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    HWND top = topLevelOf(owner);
    // On the heap and watched: destroying the owner's widget deletes the box with it.
    QPointer<QMessageBox> box =
        new QMessageBox(iconOf(type), caption ? toQString(caption) : QStringLiteral("Error"),
                        boxText(text), QMessageBox::NoButton, top ? top->widget.data() : nullptr);
    const auto buttons = buttonsOf(type);
    for (const auto& button : buttons)
        box->addButton(button.qt);
    const size_t defaultIndex = (type & MB_DEFBUTTON2) && buttons.size() > 1 ? 1 : 0;
    box->setDefaultButton(buttons[defaultIndex].qt);
    // Esc and the close box answer Cancel where there is one, OK in a box of OK alone.
    if (dismissable(type)) {
        box->setEscapeButton(box->button(buttons.size() > 1 ? buttons.back().qt : buttons[0].qt));
    } else {
        box->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
        box->installEventFilter(new NoDismissal(box));
    }
    box->setWindowModality(top ? Qt::WindowModal : Qt::NonModal);
    QEventLoop loop;
    QObject::connect(box, &QMessageBox::finished, &loop, &QEventLoop::quit);
    QObject::connect(box, &QObject::destroyed, &loop, &QEventLoop::quit);
    ModalScope modal;
    box->show();
    loop.exec();
    if (!box)
        return 0;
    QAbstractButton* clicked = box->clickedButton();
    int answer = 0;
    for (const auto& button : buttons) {
        if (clicked && clicked == box->button(button.qt))
            answer = button.result;
    }
    delete box;
    return answer;
}

int answerOf(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    ModalActivation activation(owner);
    if (messageBoxHook)
        return messageBoxHook(owner, text, caption, type).value_or(buttonsOf(type).front().result);
    return shownAnswer(owner, text, caption, type);
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
    return answerOf(owner, text, caption, type);
}

BOOL MessageBeep(UINT type)
{
    if (beepHook)
        beepHook(type);
    else if (qApp)
        QApplication::beep();
    return TRUE;
}
