// The modal dialogs the window asks the user through: the colour pickers and the file
// dialogs. Like the message service, it is handed to whatever shows a dialog, so widget tests
// swap in a service that answers at once and never block on a modal window.
#pragma once

#include <QColor>
#include <QString>
#include <optional>

class QWidget;

namespace scribvane {

class FileDialog;

class DialogService {
public:
    virtual ~DialogService() = default;

    // A colour picker opened on `initial`; nullopt when the user cancelled. An empty title
    // keeps the platform's own.
    virtual std::optional<QColor> PickColor(QWidget* parent, const QColor& initial,
                                            const QString& title) = 0;

    // An open or save dialog as `dialog` describes it (mode, title, filter, where it starts);
    // the chosen path, or nullopt when the user cancelled.
    virtual std::optional<QString> ChooseFile(QWidget* parent, const FileDialog& dialog) = 0;
    // A line of text, asked with `label` and offered as `initial`; nullopt when cancelled.
    virtual std::optional<QString> AskText(QWidget* parent, const QString& title,
                                           const QString& label, const QString& initial) = 0;
};

// Shows the real dialogs.
class StandardDialogService : public DialogService {
public:
    std::optional<QColor> PickColor(QWidget* parent, const QColor& initial,
                                    const QString& title) override;
    std::optional<QString> ChooseFile(QWidget* parent, const FileDialog& dialog) override;
    std::optional<QString> AskText(QWidget* parent, const QString& title, const QString& label,
                                   const QString& initial) override;
};

// One shared real service, for controls that were given none.
DialogService& StandardDialogs();

} // namespace scribvane
