// Qt text and file names to and from the core's forms; see QtText.h.
#include "utils/QtText.h"

#include "utils/Win1252.h"

#include <QFile>

namespace scribvane {

std::string AnsiOf(const QString& text) {
    return Utf16ToAnsi(text.toStdU16String());
}

QString QStringOfAnsi(std::string_view ansi) {
    return QString::fromStdU16String(AnsiToUtf16(ansi));
}

std::filesystem::path NativePath(const QString& fileName) {
    return std::filesystem::path(QFile::encodeName(fileName).toStdString());
}

} // namespace scribvane
