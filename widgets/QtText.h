// The window side of the value boundary: Qt's Unicode strings to and from the core's
// Windows-1252 text, Qt's file names to the core's paths, and Qt's colours to and from the
// core's colour values. Every Qt file converts here.
#pragma once

#include "utils/TextHelpers.h"

#include <QColor>
#include <QString>
#include <filesystem>
#include <string>
#include <string_view>

namespace scribvane {

// Characters Windows-1252 cannot hold become decimal references "&#N;", which QStringOfAnsi
// shows as the characters again: what the user typed is stored, and shown, as it was.
std::string AnsiOf(const QString& text);
QString QStringOfAnsi(std::string_view ansi);

// Markup as stored, byte for byte: its references stay references (an editing area's markup
// is read as the serializer wrote it).
QString QStringOfMarkup(std::string_view ansi);

// A Qt file name as the path the core's file routines take.
std::filesystem::path NativePath(const QString& fileName);

// A colour value (red in the low byte) as a Qt colour, and back; the top byte is ignored.
QColor QColorOf(ColorValue color);
ColorValue ColorValueOf(const QColor& color);

} // namespace scribvane
