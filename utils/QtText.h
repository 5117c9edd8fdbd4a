// The window side of the text boundary: Qt's Unicode strings to and from the core's
// Windows-1252 text, and Qt's file names to the core's paths. Every Qt file converts here.
#pragma once

#include <QString>
#include <filesystem>
#include <string>
#include <string_view>

namespace scribvane {

// Characters Windows-1252 cannot hold become '?'.
std::string AnsiOf(const QString& text);
QString QStringOfAnsi(std::string_view ansi);

// A Qt file name as the path the core's file routines take.
std::filesystem::path NativePath(const QString& fileName);

} // namespace scribvane
