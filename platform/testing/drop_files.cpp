// The test seam's hands dragging files from a file manager and letting go over a window: the
// drag enters, moves and drops as Qt delivers it from the screen, offering copy, move and link.
#include "platform/qt/text_p.h"
#include "platform/qt/windows/frame_p.h"
#include "platform/qt/windows/window_p.h"
#include "platform/testing/testing.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace platform::testing {

namespace {

// Over a top-level window the pointer is on its client area, as over the middle of the window.
QWidget* dropSpotOf(HWND hwnd)
{
    if (!live(hwnd))
        return nullptr;
    if (FrameWidget* frame = frameOf(hwnd))
        return frame->client();
    return hwnd->widget.data();
}

} // namespace

bool dropFiles(HWND hwnd, const std::vector<std::wstring>& paths)
{
    QWidget* widget = dropSpotOf(hwnd);
    if (!widget)
        return false;
    QList<QUrl> urls;
    for (const std::wstring& path : paths)
        urls << QUrl::fromLocalFile(toQString(path));
    QMimeData data;
    data.setUrls(urls);
    const QPoint at = widget->rect().center();
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
    enter.setDropAction(Qt::MoveAction); // what a file manager proposes within one disk
    QCoreApplication::sendEvent(widget, &enter);
    if (!enter.isAccepted()) {
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(widget, &leave);
        return false;
    }
    QDragMoveEvent move(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
    move.setDropAction(Qt::MoveAction);
    QCoreApplication::sendEvent(widget, &move);
    QDropEvent drop(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
    drop.setDropAction(Qt::MoveAction);
    QCoreApplication::sendEvent(widget, &drop);
    // Taken as a move, the file manager would delete the file.
    return drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
}

} // namespace platform::testing
