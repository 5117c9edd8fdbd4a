// The letter the window is working on; see LetterDocument.h.
#include "persistence/LetterDocument.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace scribvane {

namespace {

QString FieldName(Tag tag) {
    const std::string_view name = FieldOf(tag).name;
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

} // namespace

const QString LetterDocument::kTemplateField = QStringLiteral("Template");
const QString LetterDocument::kOutputField = QStringLiteral("Output");
const QString LetterDocument::kEmbedPicturesField = QStringLiteral("EmbedPictures");

LetterDocument::LetterDocument(QObject* parent) : QObject(parent) {
    settle_.setSingleShot(true);
    connect(&settle_, &QTimer::timeout, this, &LetterDocument::settled);
}

void LetterDocument::Set(Tag tag, ConfigValue value) {
    if (current_.Value(tag) == value) {
        return;
    }
    current_.Set(tag, std::move(value));
    NoteChange(FieldName(tag));
}

void LetterDocument::SetTemplateName(std::string name) {
    if (name != templateName_) {
        templateName_ = std::move(name);
        NoteChange(kTemplateField);
    }
}

void LetterDocument::SetOutputFileName(std::string name) {
    if (name != outputFileName_) {
        outputFileName_ = std::move(name);
        NoteChange(kOutputField);
    }
}

void LetterDocument::SetEmbedPictures(bool embed) {
    if (embed != embedPictures_) {
        embedPictures_ = embed;
        NoteChange(kEmbedPicturesField);
    }
}

void LetterDocument::Load(const LetterConfiguration& config) {
    baseline_ = config;
    Replace(config);
}

void LetterDocument::Replace(const LetterConfiguration& config) {
    // The whole configuration is in place before anyone hears of a change, so an observer
    // never sees half of the old letter and half of the new one.
    std::vector<Tag> differing;
    for (const ConfigField& field : kConfigFields) {
        if (!(current_.Value(field.tag) == config.Value(field.tag))) {
            differing.push_back(field.tag);
        }
    }
    current_ = config;
    for (const Tag tag : differing) {
        NoteChange(FieldName(tag));
    }
}

void LetterDocument::MarkSaved() {
    baseline_ = current_;
}

void LetterDocument::SettleNow() {
    if (settle_.isActive()) {
        settle_.stop();
        Q_EMIT settled();
    }
}

void LetterDocument::NoteChange(const QString& field) {
    // Each change restarts the quiet time, but a user who never pauses still sees the letter
    // settle within the longest wait of the first change that has not settled.
    if (!settle_.isActive()) {
        pendingSince_.start();
    }
    const qint64 left = kLongestWaitMs - pendingSince_.elapsed();
    settle_.start(static_cast<int>(std::clamp<qint64>(left, 0, kQuietMs)));
    Q_EMIT changed(field);
}

} // namespace scribvane
