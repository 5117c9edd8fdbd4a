// The real dialogs behind the dialog service; see DialogService.h.
#include "widgets/DialogService.h"

#include "widgets/FileDialog.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QStringList>

namespace scribvane {

std::optional<QColor> StandardDialogService::PickColor(QWidget* parent, const QColor& initial,
                                                       const QString& title) {
    QColorDialog dialog(initial, parent);
    if (!title.isEmpty()) {
        dialog.setWindowTitle(title);
    }
    if (dialog.exec() != QDialog::Accepted || !dialog.selectedColor().isValid()) {
        return std::nullopt;
    }
    return dialog.selectedColor();
}

std::optional<QString> StandardDialogService::AskText(QWidget* parent, const QString& title,
                                                      const QString& label,
                                                      const QString& initial) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(parent, title, label, QLineEdit::Normal, initial, &ok);
    return ok ? std::optional<QString>(text) : std::nullopt;
}

std::optional<QString> StandardDialogService::ChooseFile(QWidget* parent,
                                                         const FileDialog& request) {
    QFileDialog dialog(parent, request.Title());
    const QStringList filters = QtFileFilter(request.Filter()).split(QStringLiteral(";;"));
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.value(0));
    if (request.DialogMode() == FileDialog::Mode::OpenExisting) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        // Choosing the letter's name writes nothing; the letter is written by the Finish
        // button. A copy of the configuration is written at once, so that dialog asks.
        dialog.setOption(QFileDialog::DontConfirmOverwrite,
                         request.DialogMode() == FileDialog::Mode::Save);
    }
    const QFileInfo start(request.StartPath());
    if (!request.StartPath().isEmpty() && start.isDir()) {
        dialog.setDirectory(start.absoluteFilePath());
    } else if (!request.StartPath().isEmpty()) {
        dialog.setDirectory(start.absolutePath());
        dialog.selectFile(start.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}

DialogService& StandardDialogs() {
    static StandardDialogService dialogs;
    return dialogs;
}

} // namespace scribvane
