// The Browse buttons' file dialogs and their file name rules.
#include "widgets/FileDialog.h"

#include "widgets/DialogService.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <utility>

namespace scribvane {

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

bool FileDialog::Execute(QWidget* parent, DialogService& dialogs, const QString& fieldPath) {
    // A web address or a relative name says nothing about a folder on this machine.
    const QFileInfo field(fieldPath);
    if (!fieldPath.isEmpty() && field.isAbsolute() && field.absoluteDir().exists()) {
        startPath_ = field.absoluteFilePath();
    } else if (!fileName_.isEmpty()) {
        startPath_ = QFileInfo(fileName_).absolutePath();
    } else {
        startPath_.clear();
    }
    const std::optional<QString> chosen = dialogs.ChooseFile(parent, *this);
    if (!chosen || chosen->isEmpty()) {
        return false;
    }
    fileName_ = mode_ == Mode::Save ? WithHtmlExtension(*chosen) : *chosen;
    return true;
}

} // namespace scribvane
