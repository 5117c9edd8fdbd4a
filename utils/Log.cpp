// The core's hand-over of notes; see Log.h.
#include "utils/Log.h"

#include <utility>

namespace scribvane {
namespace {

LogSink& Sink() {
    static LogSink sink;
    return sink;
}

} // namespace

void SetLogSink(LogSink sink) {
    Sink() = std::move(sink);
}

void LogNote(LogTopic topic, std::string_view message) {
    if (Sink()) {
        Sink()(topic, message);
    }
}

} // namespace scribvane
