// Runs a long network call on a thread of its own while the window keeps painting and
// answering (progress, Cancel), and hands what it threw back to the window's thread.
#pragma once

#include <functional>

namespace scribvane {

// Returns when `work` ended; throws again whatever `work` threw. `work` must touch no widget:
// it may reach the window only through queued calls.
void RunOffWindowThread(const std::function<void()>& work);

} // namespace scribvane
