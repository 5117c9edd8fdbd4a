// The window half of the letter configuration, and the one place where values move between
// the controls and the letter document: every control the tag table binds (and the window's
// template chooser, output file and picture placement) writes its one field into the
// document when it changes, and a configuration loaded into the document is shown on the
// controls. A single-line edit costs no call into an editing area's engine; an area's own
// change report reads that one area, once.
#pragma once

#include "persistence/LetterConfiguration.h"
#include "persistence/LetterField.h"

#include <QObject>
#include <QString>
#include <filesystem>
#include <functional>
#include <vector>

class QTimer;
class QWidget;

namespace scribvane {

class HtmlEditor;
class LetterDocument;
class RecordPage;

class ConfigurationForm {
public:
    // `form` holds every bound control, found by the objectName the table gives; the record
    // lists are the pages' own. The controls write into `document` from now on.
    ConfigurationForm(QWidget& form, RecordPage& features, RecordPage& testimonials,
                      LetterDocument& document);

    // Reads every bound control (five engine reads): what the controls show, for the start of
    // the document and for tests that compare the two.
    LetterConfiguration Read() const;

    // Sets every control from the values without writing back into the document (which
    // already holds them). A font name that is not installed leaves no entry selected and the
    // chooser's text as it was.
    void Apply(const LetterConfiguration& config);

    // The table's initial values, as the window starts with them; the style choosers show
    // their font name even when it is not installed. The editing areas start empty.
    void ShowInitialValues();

    // Copies every control into the document once (the areas have to be ready): the document
    // then holds what the window shows, for example an area's empty body.
    void ReadAllIntoDocument();

    // The control that edits `field`, for going from a finding to it; nullptr when the form
    // has none.
    QWidget* ControlOf(LetterField field) const;

    // config.dat in the program folder (which ends in a separator), and config.bak, where a
    // save keeps the file it replaces.
    static std::filesystem::path ConfigurationPath(const QString& programFolder);
    static std::filesystem::path BackupPath(const QString& programFolder);

private:
    void Bind();
    void BindWindowAdditions();
    // Runs `read` once after the area's edits of one action.
    void ReadOnChange(HtmlEditor& area, const std::function<void()>& read);
    void ApplyField(const ConfigField& field, const LetterConfiguration& config);
    // The field's value as its control shows it.
    ConfigValue ReadField(const ConfigField& field) const;
    // Writes the field's control value into the document unless the controls are being set
    // from the document.
    void Follow(const ConfigField& field) const;
    template <typename Control>
    Control& BoundControl(const ConfigField& field) const;

    QWidget& form_;
    RecordPage& features_;
    RecordPage& testimonials_;
    LetterDocument& document_;
    bool applying_ = false;
    // Ends the controls' connections with this form, before the controls go.
    QObject connections_;
    std::vector<QTimer*> passageReads_; // children of connections_
};

} // namespace scribvane
