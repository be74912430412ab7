// The Open and Save as dialogs on QFileDialog, and CommDlgExtendedError. A dialog is modal to its
// owner, deactivates it while shown and activates it again when it closes, and hands back a full
// path that fits the caller's buffer; the chosen file's folder becomes the current directory, as
// on Windows.
#include "platform/qt/hooks_p.h"
#include "platform/qt/text_p.h"
#include "platform/qt/windows/window_p.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPointer>

#include <cstddef>
#include <cwchar>
#include <utility>
#include <vector>

namespace platform {
FileDialogHook fileDialogHook = nullptr;
}

using namespace platform;

namespace {

DWORD dialogError = 0;

BOOL failDialog(DWORD error)
{
    dialogError = error;
    return FALSE;
}

// The list as the structure holds it: zero-ended description and pattern, pair after pair, up to
// an empty string. Kept whole, separators included, for the test seam's records.
std::wstring filterList(LPCWSTR filter)
{
    if (!filter)
        return {};
    const wchar_t* end = filter;
    while (*end)
        end += std::wcslen(end) + 1;
    return std::wstring(filter, std::size_t(end - filter));
}

// Windows reads "*.*" as every name, one without an extension too; Qt's match needs "*" for that.
QString qtPatterns(const QString& patterns)
{
    QStringList result;
    for (const QString& pattern : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString trimmed = pattern.trimmed();
        result << (trimmed == QLatin1String("*.*") ? QStringLiteral("*") : trimmed);
    }
    return result.join(QLatin1Char(' '));
}

// Qt's form of each pair: "description (patterns)". The dialog hides that added part, so the list
// shows each description exactly as given, as Windows does.
QStringList qtFilters(LPCWSTR filter)
{
    QStringList filters;
    for (const wchar_t* entry = filter; entry && *entry;) {
        const QString description = toQString(entry);
        entry += std::wcslen(entry) + 1;
        if (!*entry)
            break;
        filters << QStringLiteral("%1 (%2)").arg(description, qtPatterns(toQString(entry)));
        entry += std::wcslen(entry) + 1;
    }
    return filters;
}

// An index outside the pairs (0 asks for a custom filter, which the layer has not) starts on the
// first pair.
int startFilter(const OPENFILENAMEW& dialog, const QStringList& filters)
{
    const DWORD index = dialog.nFilterIndex;
    return index >= 1 && index <= DWORD(filters.size()) ? int(index) - 1 : 0;
}

std::optional<std::wstring> shownDialog(OPENFILENAMEW& dialog, bool save)
{
    HWND top = topLevelOf(dialog.hwndOwner);
    const QString title = dialog.lpstrTitle
                              ? toQString(dialog.lpstrTitle)
                              : (save ? QStringLiteral("Save As") : QStringLiteral("Open"));
    const QString folder =
        dialog.lpstrInitialDir ? toQString(dialog.lpstrInitialDir) : QDir::currentPath();
    // On the heap and watched: destroying the owner's widget deletes the dialog with it.
    QPointer<QFileDialog> chooser =
        new QFileDialog(top ? top->widget.data() : nullptr, title, folder);
    chooser->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    const bool mustExist = !save && (dialog.Flags & OFN_FILEMUSTEXIST);
    chooser->setFileMode(mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    // Windows: without OFN_OVERWRITEPROMPT the dialog takes an existing name without asking.
    chooser->setOption(QFileDialog::DontConfirmOverwrite, !(dialog.Flags & OFN_OVERWRITEPROMPT));
    if (dialog.lpstrDefExt)
        chooser->setDefaultSuffix(toQString(dialog.lpstrDefExt));
    const QStringList filters = qtFilters(dialog.lpstrFilter);
    if (!filters.isEmpty()) {
        chooser->setOption(QFileDialog::HideNameFilterDetails);
        chooser->setNameFilters(filters);
        chooser->selectNameFilter(filters[startFilter(dialog, filters)]);
    }
    if (dialog.lpstrFile && dialog.nMaxFile > 0 && dialog.lpstrFile[0])
        chooser->selectFile(toQString(dialog.lpstrFile));
    chooser->setWindowModality(top ? Qt::WindowModal : Qt::ApplicationModal);
    const bool accepted = chooser->exec() == QDialog::Accepted;
    if (!chooser)
        return std::nullopt;
    std::optional<std::wstring> chosen;
    if (accepted && !chooser->selectedFiles().isEmpty()) {
        dialog.nFilterIndex = DWORD(filters.indexOf(chooser->selectedNameFilter()) + 1);
        chosen = toWString(chooser->selectedFiles().constFirst());
    }
    delete chooser;
    return chosen;
}

std::optional<std::wstring> answerOf(OPENFILENAMEW& dialog, bool save)
{
    ModalActivation activation(dialog.hwndOwner);
    if (fileDialogHook) {
        return fileDialogHook({save, dialog.hwndOwner, dialog.lStructSize, dialog.Flags,
                               filterList(dialog.lpstrFilter), dialog.nFilterIndex,
                               dialog.nMaxFile});
    }
    ModalScope modal;
    return shownDialog(dialog, save);
}

// Hands the chosen path back as Windows does: full, within nMaxFile with its zero, the offsets
// of the name and extension filled in, and the folder made current.
BOOL deliver(OPENFILENAMEW& dialog, const std::wstring& chosen, bool save)
{
    std::wstring path(GetFullPathNameW(chosen.c_str(), 0, nullptr, nullptr), L'\0');
    path.resize(GetFullPathNameW(chosen.c_str(), DWORD(path.size()), path.data(), nullptr));
    if (path.size() + 1 > dialog.nMaxFile) {
        // Windows: the first unit of the buffer then holds the size needed.
        if (dialog.nMaxFile >= 1)
            dialog.lpstrFile[0] = wchar_t(path.size() + 1);
        return failDialog(FNERR_BUFFERTOOSMALL);
    }
    path.copy(dialog.lpstrFile, path.size());
    dialog.lpstrFile[path.size()] = L'\0';
    const std::size_t name = path.find_last_of(L'/') + 1;
    const std::size_t dot = path.find_last_of(L'.');
    dialog.nFileOffset = WORD(name);
    dialog.nFileExtension = WORD(dot != std::wstring::npos && dot >= name ? dot + 1 : 0);
    if (dialog.nFilterIndex == 0)
        dialog.nFilterIndex = 1;
    // Windows: the Open dialog always makes the folder current; Save as unless OFN_NOCHANGEDIR.
    if (!save || !(dialog.Flags & OFN_NOCHANGEDIR))
        QDir::setCurrent(toQString(path.substr(0, name)));
    return TRUE;
}

BOOL runFileDialog(LPOPENFILENAMEW dialog, bool save)
{
    dialogError = 0;
    const bool knownSize = dialog && (dialog->lStructSize == sizeof(OPENFILENAMEW) ||
                                      dialog->lStructSize == offsetof(OPENFILENAMEW, pvReserved));
    if (!knownSize)
        return failDialog(CDERR_STRUCTSIZE);
    if (!dialog->lpstrFile || !qApp)
        return failDialog(CDERR_DIALOGFAILURE);
    const std::optional<std::wstring> chosen = answerOf(*dialog, save);
    if (!chosen)
        return FALSE;
    return deliver(*dialog, *chosen, save);
}

} // namespace

BOOL GetOpenFileNameW(LPOPENFILENAMEW dialog)
{
    return runFileDialog(dialog, false);
}

BOOL GetSaveFileNameW(LPOPENFILENAMEW dialog)
{
    return runFileDialog(dialog, true);
}

DWORD CommDlgExtendedError()
{
    return dialogError;
}
