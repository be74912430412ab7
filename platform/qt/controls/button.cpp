// The "Button" class: push buttons on QPushButton, check boxes on QCheckBox, their BM_ messages
// and the dialog-item helpers CheckDlgButton and IsDlgButtonChecked.
#include "platform/qt/text_p.h"
#include "platform/qt/windows/window_p.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>

namespace platform {

namespace {

constexpr DWORD buttonTypeMask = 0x000F;

DWORD buttonType(HWND hwnd)
{
    return hwnd->style & buttonTypeMask;
}

bool isCheckBox(HWND hwnd)
{
    return buttonType(hwnd) == BS_AUTOCHECKBOX;
}

// Qt's button behaviour, with keys first passed through the window procedure as WM_KEYDOWN and
// the background asked of the parent as Windows' controls ask it.
template <class QtButton> class Button : public QtButton {
public:
    Button(HWND hwnd, QWidget* parent) : QtButton(parent), hwnd_(hwnd) {}

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        deliverKey(hwnd_, event, [this](QKeyEvent* key) { defaultKey(key); });
    }

    void focusInEvent(QFocusEvent* event) override
    {
        QtButton::focusInEvent(event);
        focusGained(hwnd_);
    }

    bool hitButton(const QPoint& position) const override
    {
        // Windows: a click anywhere in the control counts, not only on the box and its text.
        return this->rect().contains(position);
    }

    void paintEvent(QPaintEvent* event) override
    {
        if (live(hwnd_) && isCheckBox(hwnd_)) {
            // Windows: check boxes ask for their background with WM_CTLCOLORSTATIC, like statics.
            QPainter(this).fillRect(this->rect(), controlBackground(hwnd_, WM_CTLCOLORSTATIC));
        } else if (live(hwnd_)) {
            controlBackground(hwnd_, WM_CTLCOLORBTN); // push buttons ignore the answer
        }
        QtButton::paintEvent(event);
    }

private:
    void defaultKey(QKeyEvent* key)
    {
        // Windows: without a dialog manager Enter on a focused button clicks nothing.
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            key->ignore();
            return;
        }
        QtButton::keyPressEvent(key);
    }

    HWND hwnd_;
};

QAbstractButton* buttonOf(HWND hwnd)
{
    return live(hwnd) ? qobject_cast<QAbstractButton*>(hwnd->widget.data()) : nullptr;
}

// Shows the record's text and font.
void showRecord(HWND hwnd)
{
    QAbstractButton* button = buttonOf(hwnd);
    if (!button)
        return;
    button->setText(toQString(hwnd->text));
    // Windows: the '&' marks a letter to underline; only a dialog manager would make it a key.
    button->setShortcut(QKeySequence());
    button->setFont(controlFont(hwnd));
}

LRESULT checkState(HWND hwnd)
{
    auto* box = qobject_cast<QCheckBox*>(buttonOf(hwnd));
    return box && box->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

void setCheckState(HWND hwnd, WPARAM state)
{
    if (auto* box = qobject_cast<QCheckBox*>(buttonOf(hwnd)))
        box->setChecked(state != BST_UNCHECKED); // a two-state box shows indeterminate as checked
}

} // namespace

QWidget* createButtonWidget(HWND hwnd, QWidget* parent)
{
    const DWORD type = buttonType(hwnd);
    if (type == BS_CHECKBOX || type > BS_AUTOCHECKBOX || (hwnd->style & 0xFFFF & ~buttonTypeMask))
        qFatal("Button: style 0x%x is not implemented", unsigned(hwnd->style & 0xFFFF));
    QAbstractButton* button;
    if (isCheckBox(hwnd)) {
        button = new Button<QCheckBox>(hwnd, parent);
    } else {
        auto* push = new Button<QPushButton>(hwnd, parent);
        push->setAutoDefault(false);
        push->setDefault(type == BS_DEFPUSHBUTTON); // outside a dialog only the look changes
        button = push;
    }
    QObject::connect(button, &QAbstractButton::clicked, button,
                     [hwnd] { notifyParent(hwnd, BN_CLICKED); });
    hwnd->widget = button;
    showRecord(hwnd);
    return button;
}

LRESULT CALLBACK buttonClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_KEYDOWN:
        runDefaultKey(hwnd, wParam, lParam);
        return 0;
    case WM_SETTEXT:
    case WM_SETFONT: {
        const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
        showRecord(hwnd);
        return result;
    }
    case BM_GETCHECK:
        return checkState(hwnd);
    case BM_SETCHECK:
        setCheckState(hwnd, wParam);
        return 0;
    case WM_GETDLGCODE:
        if (isCheckBox(hwnd))
            return DLGC_BUTTON;
        return DLGC_BUTTON |
               (buttonType(hwnd) == BS_DEFPUSHBUTTON ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
    case BM_CLICK:
        if (QAbstractButton* button = buttonOf(hwnd))
            button->click();
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace platform

BOOL CheckDlgButton(HWND dialog, int id, UINT check)
{
    HWND button = GetDlgItem(dialog, id);
    if (!button)
        return FALSE;
    SendMessageW(button, BM_SETCHECK, WPARAM(check), 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id)
{
    return UINT(SendMessageW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0));
}
