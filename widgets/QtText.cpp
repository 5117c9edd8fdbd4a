// Qt text and file names to and from the core's forms; see QtText.h.
#include "widgets/QtText.h"

#include "utils/Win1252.h"

#include <QFile>

namespace scribvane {

std::string AnsiOf(const QString& text) {
    return Utf16ToAnsi(text.toStdU16String());
}

QString QStringOfAnsi(std::string_view ansi) {
    return QString::fromStdU16String(AnsiToShownUtf16(ansi));
}

QString QStringOfMarkup(std::string_view ansi) {
    return QString::fromStdU16String(AnsiToUtf16(ansi));
}

std::filesystem::path NativePath(const QString& fileName) {
    return std::filesystem::path(QFile::encodeName(fileName).toStdString());
}

QColor QColorOf(ColorValue color) {
    return QColor(static_cast<int>(color & 0xFFu), static_cast<int>((color >> 8) & 0xFFu),
                  static_cast<int>((color >> 16) & 0xFFu));
}

ColorValue ColorValueOf(const QColor& color) {
    return static_cast<ColorValue>(color.red()) | (static_cast<ColorValue>(color.green()) << 8) |
           (static_cast<ColorValue>(color.blue()) << 16);
}

} // namespace scribvane
