// The window's logging categories; see Logging.h.
#include "widgets/Logging.h"

#include "utils/Log.h"
#include "widgets/QtText.h"

namespace scribvane {

Q_LOGGING_CATEGORY(lcBranding, "scribvane.branding")
Q_LOGGING_CATEGORY(lcGeneration, "scribvane.generation")
Q_LOGGING_CATEGORY(lcEditing, "scribvane.editing")
Q_LOGGING_CATEGORY(lcPersistence, "scribvane.persistence")
Q_LOGGING_CATEGORY(lcUpdate, "scribvane.update")
Q_LOGGING_CATEGORY(lcPublishing, "scribvane.publishing")

namespace {

const QLoggingCategory& CategoryOf(LogTopic topic) {
    switch (topic) {
    case LogTopic::Branding:
        return lcBranding();
    case LogTopic::Generation:
        return lcGeneration();
    case LogTopic::Editing:
        return lcEditing();
    case LogTopic::Persistence:
        return lcPersistence();
    case LogTopic::Publishing:
        return lcPublishing();
    case LogTopic::Update:
        break;
    }
    return lcUpdate();
}

} // namespace

void RouteCoreNotesToCategories() {
    SetLogSink([](LogTopic topic, std::string_view message) {
        qCWarning(CategoryOf(topic)).noquote() << QStringOfAnsi(message);
    });
}

} // namespace scribvane
