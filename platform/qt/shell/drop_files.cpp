// Files dropped onto a window: DragAcceptFiles makes the window's widget take drops of local
// files, a drop posts WM_DROPFILES with the names in an HDROP, and DragQueryFileW and DragFinish
// read and release them.
#include "platform/qt/kernel/files_p.h"
#include "platform/qt/text_p.h"
#include "platform/qt/windows/window_p.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include <algorithm>
#include <unordered_set>
#include <vector>

struct HDROP__ {
    std::vector<std::wstring> files;
};

namespace platform {

namespace {

constexpr DWORD acceptFilesStyle = 0x00000010; // WS_EX_ACCEPTFILES

std::unordered_set<HDROP>& openDrops()
{
    static std::unordered_set<HDROP> drops;
    return drops;
}

HDROP__* liveDrop(HDROP drop)
{
    return openDrops().count(drop) != 0 ? drop : nullptr;
}

// Windows: only items of the file system reach the window; the rest of a drag is left out.
std::vector<std::wstring> localFiles(const QMimeData* data)
{
    std::vector<std::wstring> files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            files.push_back(nameFromNative(
                QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1())
                    .toStdString()));
    }
    return files;
}

// Stands on the widget of a window that accepts files. A drop is taken only as a copy, so the
// program a file came from never deletes it as if it had been moved.
class DropTarget : public QObject {
public:
    static inline const QString name = QStringLiteral("DropTarget");

    DropTarget(HWND hwnd, QObject* parent) : QObject(parent), hwnd_(hwnd) { setObjectName(name); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
            return QObject::eventFilter(watched, event);
        auto* drop = static_cast<QDropEvent*>(event);
        std::vector<std::wstring> files = takesInput() && (drop->possibleActions() & Qt::CopyAction)
                                              ? localFiles(drop->mimeData())
                                              : std::vector<std::wstring>();
        if (files.empty()) {
            drop->ignore();
            return true;
        }
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        if (type == QEvent::Drop)
            post(std::move(files));
        return true;
    }

private:
    // Windows: a disabled window, or one under a disabled top-level window, takes no drop.
    bool takesInput() const
    {
        HWND top = topLevelOf(hwnd_);
        return top && top->enabled && hwnd_->enabled;
    }

    void post(std::vector<std::wstring> files)
    {
        auto* drop = new HDROP__{std::move(files)};
        openDrops().insert(drop);
        // Windows: posted, so the drag has ended before the window acts on it.
        if (!PostMessageW(hwnd_, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0))
            DragFinish(drop);
    }

    HWND hwnd_;
};

// Found by name: without Qt's meta-object of its own, a cast could not tell it from other children.
QObject* dropTargetOf(QWidget* widget)
{
    return widget->findChild<QObject*>(DropTarget::name, Qt::FindDirectChildrenOnly);
}

} // namespace

} // namespace platform

using namespace platform;

void DragAcceptFiles(HWND hwnd, BOOL accept)
{
    if (!live(hwnd) || !hwnd->widget)
        return;
    QWidget* widget = hwnd->widget;
    hwnd->exStyle =
        accept ? (hwnd->exStyle | acceptFilesStyle) : (hwnd->exStyle & ~acceptFilesStyle);
    widget->setAcceptDrops(accept != FALSE);
    QObject* target = dropTargetOf(widget);
    if (accept && !target)
        widget->installEventFilter(new DropTarget(hwnd, widget));
    else if (!accept)
        delete target;
}

UINT DragQueryFileW(HDROP drop, UINT index, LPWSTR buffer, UINT size)
{
    const HDROP__* record = liveDrop(drop);
    if (!record)
        return 0;
    if (index == 0xFFFFFFFF)
        return UINT(record->files.size());
    if (index >= record->files.size())
        return 0;
    const std::wstring& name = record->files[index];
    if (!buffer)
        return UINT(name.size());
    if (size == 0)
        return 0;
    const std::size_t count = std::min<std::size_t>(name.size(), size - 1);
    name.copy(buffer, count);
    buffer[count] = L'\0';
    return UINT(count);
}

void DragFinish(HDROP drop)
{
    if (openDrops().erase(drop) != 0)
        delete drop;
}
