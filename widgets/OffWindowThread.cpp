// Work beside the window's thread; see OffWindowThread.h.
#include "widgets/OffWindowThread.h"

#include <QEventLoop>
#include <exception>
#include <thread>

namespace scribvane {

void RunOffWindowThread(const std::function<void()>& work) {
    QEventLoop loop;
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    if (failure) {
        std::rethrow_exception(failure);
    }
}

} // namespace scribvane
