// The built-in skin: the style sheet the window wears unless a skin file replaces it.
#pragma once

#include <QString>

namespace scribvane {

QString BuiltInSkin();

} // namespace scribvane
