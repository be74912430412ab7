// The test seam's look at a real file dialog: the next one is shown as the program shows it
// (offscreen), its list of file types and the names it lists under each are read, and a name is
// typed into it and Enter pressed, as a user would.
#include "platform/qt/hooks_p.h"
#include "platform/qt/text_p.h"
#include "platform/testing/testing.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <QTimer>

#include <algorithm>

namespace platform::testing {

namespace {

struct DialogSeam {
    FileDialogHook scripted = nullptr; // put back once the real dialog has been answered
    std::wstring typed;
    ListedFileDialog listed;
};

DialogSeam& dialogSeam()
{
    static DialogSeam state;
    return state;
}

// Lets the dialog's folder model catch up: it reads the folder and sorts on other turns.
void settle(QFileSystemModel* model, const QString& folder)
{
    QElapsedTimer waited;
    waited.start();
    bool loaded = false;
    const auto connection =
        QObject::connect(model, &QFileSystemModel::directoryLoaded, [&loaded] { loaded = true; });
    while (waited.elapsed() < 3000 && !(loaded && waited.elapsed() > 200)) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        loaded = loaded || (waited.elapsed() > 500 && model->rowCount(model->index(folder)) > 0);
    }
    QObject::disconnect(connection);
}

std::vector<std::wstring> listedNames(QFileDialog* dialog)
{
    auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
    auto* model = dialog->findChild<QFileSystemModel*>();
    std::vector<std::wstring> names;
    if (!view || !model)
        return names;
    settle(model, dialog->directory().absolutePath());
    const QModelIndex folder = view->rootIndex();
    for (int row = 0; row < view->model()->rowCount(folder); ++row) {
        // A name the type leaves out may still show, greyed and out of reach.
        const QModelIndex item = view->model()->index(row, 0, folder);
        if (item.flags() & Qt::ItemIsEnabled)
            names.push_back(toWString(item.data().toString()));
    }
    std::sort(names.begin(), names.end());
    return names;
}

void lookAndAnswer(QFileDialog* dialog)
{
    auto& seam = dialogSeam();
    ListedFileDialog& listed = seam.listed;
    auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    if (types) {
        listed.startType = types->currentIndex();
        for (int i = 0; i < types->count(); ++i) {
            listed.fileTypes.push_back(toWString(types->itemText(i)));
            dialog->selectNameFilter(dialog->nameFilters().at(i)); // as the user's choice does
            listed.names.push_back(listedNames(dialog));
        }
        dialog->selectNameFilter(dialog->nameFilters().at(listed.startType));
    }
    fileDialogHook = seam.scripted;
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (seam.typed.empty() || !name) {
        dialog->reject();
        return;
    }
    name->setText(toQString(seam.typed));
    QTest::keyClick(name, Qt::Key_Return);
}

// Catches the dialog as it appears and looks at it once it runs its own loop.
class DialogWatcher : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* dialog = qobject_cast<QFileDialog*>(watched);
        if (dialog && event->type() == QEvent::Show) {
            QTimer::singleShot(0, dialog, [dialog] { lookAndAnswer(dialog); });
            deleteLater();
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void showFileDialog(const std::wstring& typed)
{
    auto& seam = dialogSeam();
    seam.scripted = fileDialogHook;
    seam.typed = typed;
    seam.listed = {};
    fileDialogHook = nullptr;
    qApp->installEventFilter(new DialogWatcher);
}

const ListedFileDialog& listedFileDialog()
{
    return dialogSeam().listed;
}

} // namespace platform::testing
