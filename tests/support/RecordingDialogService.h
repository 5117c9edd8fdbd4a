// A dialog service for widget tests: answers every colour picker and file dialog at once from
// queues the test fills (Cancel when a queue is empty) and records what each was opened with.
#pragma once

#include "widgets/DialogService.h"
#include "widgets/FileDialog.h"

#include <QList>
#include <optional>

namespace scribvane::testing {

class RecordingDialogService : public DialogService {
public:
    std::optional<QColor> PickColor(QWidget*, const QColor& initial,
                                    const QString& title) override {
        offeredColors.append(initial);
        colorTitles.append(title);
        return colorAnswers.isEmpty() ? std::nullopt : colorAnswers.takeFirst();
    }

    std::optional<QString> ChooseFile(QWidget*, const FileDialog& dialog) override {
        fileTitles.append(dialog.Title());
        startPaths.append(dialog.StartPath());
        return fileAnswers.isEmpty() ? std::nullopt : fileAnswers.takeFirst();
    }

    std::optional<QString> AskText(QWidget*, const QString&, const QString& label,
                                   const QString& initial) override {
        textLabels.append(label);
        offeredTexts.append(initial);
        return textAnswers.isEmpty() ? std::nullopt : textAnswers.takeFirst();
    }

    QList<std::optional<QString>> textAnswers; // nullopt = Cancel
    QList<QString> textLabels;
    QList<QString> offeredTexts;
    QList<std::optional<QColor>> colorAnswers; // nullopt = Cancel
    QList<QColor> offeredColors;
    QList<QString> colorTitles;
    QList<std::optional<QString>> fileAnswers; // nullopt = Cancel
    QList<QString> fileTitles;
    QList<QString> startPaths;
};

} // namespace scribvane::testing
