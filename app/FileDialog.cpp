// The Browse buttons' file dialogs and their file name rules.
#include "app/FileDialog.h"

#include <QFileDialog>
#include <QStringList>
#include <algorithm>
#include <utility>

namespace scribvane {

namespace {

// The answer a test prepared for the next dialog: whether one is pending, and the path
// (empty = Cancel).
struct PreparedAnswer {
    bool pending = false;
    QString path;
};

PreparedAnswer& NextAnswer() {
    static PreparedAnswer next;
    return next;
}

} // namespace

QString QtFileFilter(const QString& pairs) {
    const QStringList parts = pairs.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype index = 0; index + 1 < parts.size(); index += 2) {
        QString description = parts[index].trimmed();
        const qsizetype open = description.lastIndexOf(QLatin1Char('('));
        if (open > 0 && description.endsWith(QLatin1Char(')'))) {
            description = description.left(open).trimmed();
        }
        QStringList patterns = parts[index + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (auto& pattern : patterns) {
            pattern = pattern.trimmed();
        }
        filters.append(description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                       QLatin1Char(')'));
    }
    return filters.join(QStringLiteral(";;"));
}

QString WithHtmlExtension(const QString& path) {
    const qsizetype separator =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot > separator ? path.mid(dot) : QString();
    if (extension.compare(QStringLiteral(".html"), Qt::CaseInsensitive) == 0) {
        return path;
    }
    return path + QStringLiteral(".html");
}

FileDialog::FileDialog(Mode mode, QString title, QString filter)
    : mode_(mode), title_(std::move(title)), filter_(std::move(filter)) {}

void FileDialog::SetNextAnswerForTesting(std::optional<QString> answer) {
    NextAnswer().pending = true;
    NextAnswer().path = answer.value_or(QString());
}

bool FileDialog::Execute(QWidget* parent) {
    std::optional<QString> chosen = Ask(parent);
    if (!chosen || chosen->isEmpty()) {
        return false;
    }
    fileName_ = mode_ == Mode::Save ? WithHtmlExtension(*chosen) : *chosen;
    return true;
}

std::optional<QString> FileDialog::Ask(QWidget* parent) const {
    if (NextAnswer().pending) {
        NextAnswer().pending = false;
        if (NextAnswer().path.isEmpty()) {
            return std::nullopt;
        }
        return NextAnswer().path;
    }
    QFileDialog dialog(parent, title_);
    const QStringList filters = QtFileFilter(filter_).split(QStringLiteral(";;"));
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.value(0));
    if (mode_ == Mode::OpenExisting) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        // Choosing a name writes nothing; the letter is written by the Finish button.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    }
    if (!fileName_.isEmpty()) {
        dialog.selectFile(fileName_);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}

} // namespace scribvane
