// A stand-in for a file manager in the tests on a virtual display: a small window in the top left
// corner of the screen. A mouse press on it starts a drag of the files named on its command line,
// offering copy and move and proposing move, as a file manager does within one disk. When the
// drag is over it prints what the target took (copy, move, link or none), and it ends a little
// later: the target reads the names from it only once the drop has happened.
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <cstdio>
#include <utility>

namespace {

class DragSource : public QWidget {
public:
    explicit DragSource(QList<QUrl> files) : files_(std::move(files))
    {
        setWindowTitle(QStringLiteral("Drag source"));
        setGeometry(0, 0, 120, 120);
    }

protected:
    void mousePressEvent(QMouseEvent*) override
    {
        auto* drag = new QDrag(this);
        auto* offered = new QMimeData;
        offered->setUrls(files_);
        drag->setMimeData(offered);
        const Qt::DropAction taken = drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
        const char* name = taken == Qt::CopyAction   ? "copy"
                           : taken == Qt::MoveAction ? "move"
                           : taken == Qt::LinkAction ? "link"
                                                     : "none";
        std::printf("%s\n", name);
        std::fflush(stdout);
        QTimer::singleShot(5000, qApp, &QApplication::quit);
    }

private:
    QList<QUrl> files_;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QList<QUrl> files;
    for (int i = 1; i < argc; ++i)
        files << QUrl::fromLocalFile(QString::fromLocal8Bit(argv[i]));
    DragSource source(files);
    source.show();
    return QApplication::exec();
}
