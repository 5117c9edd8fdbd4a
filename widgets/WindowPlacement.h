// Where the main window was when it was closed, so it comes back at that size and place. Kept
// in a file beside the program, as the program keeps nothing of its own anywhere else.
#pragma once

#include <QString>

class QWidget;

namespace scribvane {

// Puts `window` where `file` says it was and returns true; without the file (or with one that
// does not read) the window keeps the size it has. A place on a screen that is gone is moved
// onto one.
bool RestoreWindowPlacement(QWidget& window, const QString& file);

// Keeps the window's size and place in `file`; a failure to write is logged and changes
// nothing else.
void SaveWindowPlacement(const QWidget& window, const QString& file);

} // namespace scribvane
