// A main window for widget tests of the wizard's actions: its own program folder, a recording
// message service and no reachable update server. Tests wait for EditorsReady with QTRY_VERIFY
// before they read or set a passage.
#pragma once

#include "app/TfrmMain.h"
#include "editing/HtmlEditor.h"
#include "tests/support/NoUpdateServer.h"
#include "tests/support/RecordingMessageService.h"

#include <QTest>
#include <memory>

namespace scribvane::testing {

// Generous: the engine starts slowly on a loaded machine.
inline constexpr int kEditorsReadyTimeoutMs = 60000;

inline std::unique_ptr<TfrmMain> MakeShownWindow(const QString& programFolder,
                                                 RecordingMessageService& messages) {
    auto window = std::make_unique<TfrmMain>(programFolder, &messages, NoUpdateServer());
    window->show();
    return window;
}

inline bool EditorsReady(const TfrmMain& window) {
    for (HtmlEditor* editor : window.Editors()) {
        if (!editor->IsReady()) {
            return false;
        }
    }
    return true;
}

} // namespace scribvane::testing
