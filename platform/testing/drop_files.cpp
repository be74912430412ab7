// The test seam's hands dragging files from a file manager and letting go over a window: the
// drag enters, moves and drops as Qt delivers it from the screen, offering copy, move and link.
#include "platform/qt/kernel/files_p.h"
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

// As Qt picks the target under the pointer: the widget there or its nearest ancestor within the
// same window that takes drops.
QWidget* dropTargetAt(QWidget* widget)
{
    for (; widget; widget = widget->parentWidget()) {
        if (widget->acceptDrops())
            return widget;
        if (widget->isWindow())
            break;
    }
    return nullptr;
}

} // namespace

bool dropFiles(HWND hwnd, const std::vector<std::wstring>& paths)
{
    QWidget* spot = dropSpotOf(hwnd);
    QWidget* target = spot ? dropTargetAt(spot) : nullptr;
    if (!target)
        return false;
    QList<QUrl> urls;
    for (const std::wstring& path : paths)
        urls << QUrl::fromEncoded(
            "file://" + QByteArray::fromStdString(nativePath(path.c_str())).toPercentEncoding("/"));
    QMimeData data;
    data.setUrls(urls);
    const QPoint at = spot->mapTo(target->window(), spot->rect().center()) -
                      target->mapTo(target->window(), QPoint());
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
    enter.setDropAction(Qt::MoveAction); // what a file manager proposes within one disk
    QCoreApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) {
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(target, &leave);
        return false;
    }
    QDragMoveEvent move(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
    move.setDropAction(Qt::MoveAction);
    QCoreApplication::sendEvent(target, &move);
    QDropEvent drop(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
    drop.setDropAction(Qt::MoveAction);
    QCoreApplication::sendEvent(target, &drop);
    // Taken as a move, the file manager would delete the file.
    return drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
}

} // namespace platform::testing
