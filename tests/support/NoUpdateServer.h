// The update folder address window tests hand the main window: a local port nothing listens
// on, so the start-up check fails at once and no test ever reaches the maker's server.
#pragma once

#include <QString>

namespace scribvane::testing {

inline QString NoUpdateServer() {
    return QStringLiteral("http://127.0.0.1:9/");
}

} // namespace scribvane::testing
