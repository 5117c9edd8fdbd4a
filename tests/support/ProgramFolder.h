// A temporary program folder for window tests: the shipped templates linked in, nothing else,
// so no test reads or writes the branding files, config.dat or updates of build/bin.
#pragma once

#include <QFile>
#include <QString>
#include <QTemporaryDir>

namespace scribvane::testing {

class ProgramFolder {
public:
    ProgramFolder() {
        QFile::link(QStringLiteral(SCRIBVANE_TEMPLATES_DIR),
                    dir_.filePath(QStringLiteral("Templates")));
    }
    bool isValid() const { return dir_.isValid(); }
    QString path() const { return dir_.path(); }
    QString filePath(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

} // namespace scribvane::testing
