// The window's named logging categories, one per subsystem, for failures that are passed over
// silently by design. Turn them on with QT_LOGGING_RULES="scribvane.*=true".
#pragma once

#include <QLoggingCategory>

namespace scribvane {

Q_DECLARE_LOGGING_CATEGORY(lcBranding)
Q_DECLARE_LOGGING_CATEGORY(lcGeneration)
Q_DECLARE_LOGGING_CATEGORY(lcEditing)
Q_DECLARE_LOGGING_CATEGORY(lcPersistence)
Q_DECLARE_LOGGING_CATEGORY(lcUpdate)
Q_DECLARE_LOGGING_CATEGORY(lcPublishing)

// Routes the core's notes to the category of their subsystem.
void RouteCoreNotesToCategories();

} // namespace scribvane
