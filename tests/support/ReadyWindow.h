// A main window for widget tests of the wizard's actions: its own program folder, a recording
// message service, dialogs that cancel at once and no reachable update server. Tests wait for
// EditorsReady with QTRY_VERIFY before they read or set a passage.
#pragma once

#include "TfrmMain.h"
#include "editing/HtmlEditor.h"
#include "tests/support/NoUpdateServer.h"
#include "tests/support/RecordingDialogService.h"
#include "tests/support/RecordingMessageService.h"
#include "tests/support/TfrmMainProbe.h"

#include <QTest>
#include <memory>

namespace scribvane::testing {

// Generous: the engine starts slowly on a loaded machine.
inline constexpr int kEditorsReadyTimeoutMs = 60000;

// Shared by the windows of a test program; every dialog it is asked for is cancelled.
inline RecordingDialogService& CancellingDialogs() {
    static RecordingDialogService dialogs;
    return dialogs;
}

inline std::unique_ptr<TfrmMain> MakeShownWindow(const QString& programFolder,
                                                 RecordingMessageService& messages) {
    auto window = std::make_unique<TfrmMain>(programFolder, &messages, NoUpdateServer(),
                                             &CancellingDialogs());
    window->show();
    return window;
}

inline bool EditorsReady(TfrmMain& window) {
    for (HtmlEditor* editor : Probe(window).Editors()) {
        if (!editor->IsReady()) {
            return false;
        }
    }
    return true;
}

} // namespace scribvane::testing
