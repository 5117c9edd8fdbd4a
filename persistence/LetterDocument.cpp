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

QString FieldName(OptionalTag tag) {
    const std::string_view name = kOptionalTagNames[Index(tag)];
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

void LetterDocument::SetOptional(OptionalTag tag, std::string text) {
    if (current_.Optional(tag) == text) {
        return;
    }
    current_.SetOptional(tag, std::move(text));
    NoteChange(FieldName(tag));
}

void LetterDocument::SetTemplateName(std::string name) {
    // The first template the window ever chooses (the catalogue's first, at start-up) is
    // where the letter starts, not a change of it.
    if (baseline_.Optional(OptionalTag::Template).empty() &&
        current_.Optional(OptionalTag::Template).empty()) {
        baseline_.SetOptional(OptionalTag::Template, name);
    }
    if (name != templateName_ || current_.Optional(OptionalTag::Template) != name) {
        current_.SetOptional(OptionalTag::Template, name);
        templateName_ = std::move(name);
        NoteChange(kTemplateField);
    }
}

void LetterDocument::AdoptOptional(OptionalTag tag, std::string text) {
    baseline_.SetOptional(tag, text);
    SetOptional(tag, std::move(text));
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
    if (config.Optional(OptionalTag::Template).empty()) {
        baseline_.SetOptional(OptionalTag::Template, templateName_);
    }
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
    std::vector<OptionalTag> differingOptional;
    for (std::size_t i = 0; i < kOptionalTagCount; ++i) {
        const auto tag = static_cast<OptionalTag>(i);
        if (tag != OptionalTag::Template && current_.Optional(tag) != config.Optional(tag)) {
            differingOptional.push_back(tag);
        }
    }
    current_ = config;
    // The template is the chooser's; a file that names none leaves it as it is, and one that
    // does is chosen by the form, which tells the document.
    current_.SetOptional(OptionalTag::Template, templateName_);
    for (const Tag tag : differing) {
        NoteChange(FieldName(tag));
    }
    for (const OptionalTag tag : differingOptional) {
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
