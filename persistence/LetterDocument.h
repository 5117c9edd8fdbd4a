// The letter the window is working on, apart from the controls that show it: the current
// configuration with what the window adds to it (the template chosen, the output file, how
// the pictures are placed), the configuration last saved or loaded, and signals for one
// changed field and for the letter having settled after a run of changes. The preview, the
// check and the autosave observe this document; only ConfigurationForm writes it from the
// controls, and the session writes it on loading.
#pragma once

#include "persistence/LetterConfiguration.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <string>

namespace scribvane {

class LetterDocument : public QObject {
    Q_OBJECT

public:
    // The names changed() gives for what the window adds to the stored fields; the stored
    // fields are named by their configuration file tag.
    static const QString kTemplateField;
    static const QString kOutputField;
    static const QString kEmbedPicturesField;

    // Quiet time after a change before settled(), and the longest a change waits while the
    // user keeps typing.
    static constexpr int kQuietMs = 150;
    static constexpr int kLongestWaitMs = 1000;

    explicit LetterDocument(QObject* parent = nullptr);

    const LetterConfiguration& Configuration() const { return current_; }
    const std::string& TemplateName() const { return templateName_; }
    const std::string& OutputFileName() const { return outputFileName_; }
    bool EmbedPictures() const { return embedPictures_; }

    // Each setter changes one field; an unchanged value signals nothing.
    void Set(Tag tag, ConfigValue value);
    void SetOptional(OptionalTag tag, std::string text);
    // The chosen template; it is stored as the configuration's Template entry too. The first
    // one chosen is where the letter starts.
    void SetTemplateName(std::string name);
    void SetOutputFileName(std::string name);
    void SetEmbedPictures(bool embed);

    // A value the window starts with (the user's language): current and saved alike, so it
    // is not unsaved work.
    void AdoptOptional(OptionalTag tag, std::string text);

    // A configuration read from a file or just written to one: it becomes both the current
    // configuration and the baseline. Fields that differ signal changed(). A file that names
    // no template keeps the one chosen now.
    void Load(const LetterConfiguration& config);
    // The same, keeping the baseline: work brought back or read from another file is still
    // unsaved work.
    void Replace(const LetterConfiguration& config);
    // What the document holds now counts as saved.
    void MarkSaved();
    // The configuration differs from the one last saved or loaded (the window's additions are
    // not stored, so they never make the letter modified).
    bool IsModified() const { return current_ != baseline_; }

    // Sends settled() now when changes are waiting for it.
    void SettleNow();
    bool IsSettling() const { return settle_.isActive(); }

Q_SIGNALS:
    void changed(const QString& field);
    // The letter stopped changing for a moment (or changed for the longest wait): the time
    // for the work that should not run on every keystroke.
    void settled();

private:
    void NoteChange(const QString& field);

    LetterConfiguration current_;
    LetterConfiguration baseline_;
    std::string templateName_;
    std::string outputFileName_;
    bool embedPictures_ = false;
    QTimer settle_;
    QElapsedTimer pendingSince_;
};

} // namespace scribvane
