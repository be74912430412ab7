// The benchmarks' half of the test seam: painting on demand, and the naive baseline a plain
// QPlainTextEdit in a QMainWindow makes, given the whole text with setPlainText.
#include "platform/qt/text_p.h"
#include "platform/qt/windows/window_p.h"
#include "platform/testing/testing.h"

#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QWheelEvent>

namespace platform::testing {

void paintNow(HWND hwnd)
{
    if (live(hwnd) && hwnd->widget)
        hwnd->widget->window()->repaint();
}

namespace baseline {

namespace {

QMainWindow* mainWindow = nullptr;
QPlainTextEdit* edit = nullptr;

void painted()
{
    QCoreApplication::processEvents();
    mainWindow->repaint();
}

} // namespace

void startUp()
{
    mainWindow = new QMainWindow;
    edit = new QPlainTextEdit;
    // The edit control does not wrap (it has a horizontal scroll bar); neither does the baseline.
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    mainWindow->setCentralWidget(edit);
    mainWindow->resize(500, 500);
    mainWindow->show();
    painted();
}

bool open(const std::wstring& path)
{
    QFile file(toQString(path));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    edit->setPlainText(QString::fromLatin1(file.readAll()));
    painted();
    return true;
}

bool save(const std::wstring& path)
{
    QSaveFile file(toQString(path));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QString text = edit->toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    file.write(text.toLatin1());
    return file.commit();
}

bool findMiss(const std::wstring& needle)
{
    QTextCursor from = edit->textCursor();
    from.movePosition(QTextCursor::Start);
    edit->setTextCursor(from);
    return !edit->find(toQString(needle));
}

void placeCaret(double where)
{
    QTextCursor cursor = edit->textCursor();
    cursor.setPosition(int(where * (edit->document()->characterCount() - 1)));
    edit->setTextCursor(cursor);
    edit->ensureCursorVisible();
    painted();
}

void type(wchar_t c)
{
    QTest::keyClicks(edit, toQString(std::wstring(1, c)));
    painted();
}

void enter()
{
    QTest::keyClick(edit, Qt::Key_Return);
    painted();
}

void backspace()
{
    QTest::keyClick(edit, Qt::Key_Backspace);
    painted();
}

void paste()
{
    edit->paste();
    painted();
}

void undo()
{
    edit->undo();
    painted();
}

void scrollPage()
{
    const int lines = edit->viewport()->height() / std::max(1, edit->fontMetrics().lineSpacing());
    const QPointF at = edit->viewport()->rect().center();
    QWheelEvent wheel(at, edit->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -40 * lines),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(edit->viewport(), &wheel);
    painted();
}

} // namespace baseline

} // namespace platform::testing
