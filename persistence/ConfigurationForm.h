// The window half of the letter configuration: every field of the tag table read from, or
// set on, the control the table binds it to, and config.dat in the program folder saved from
// and loaded into them. The file format and the conversion of the values live in
// LetterConfiguration; this class only meets the controls.
#pragma once

#include "persistence/LetterConfiguration.h"
#include "widgets/FileDialog.h"

#include <QString>
#include <filesystem>
#include <functional>

class QObject;
class QWidget;

namespace scribvane {

class DialogService;
class RecordPage;

class ConfigurationForm {
public:
    // `form` holds every bound control, found by the objectName the table gives; the record
    // lists are the pages' own.
    ConfigurationForm(QWidget& form, RecordPage& features, RecordPage& testimonials);

    LetterConfiguration Read() const;

    // Sets every control from the values. A font name that is not installed leaves no entry
    // selected and the chooser's text as it was.
    void Apply(const LetterConfiguration& config);

    // The table's initial values, as the window starts with them; the style choosers show
    // their font name even when it is not installed. The editing areas start empty.
    void ShowInitialValues();

    // config.dat in the program folder (which ends in a separator), and config.bak, where a
    // save keeps the file it replaces.
    static std::filesystem::path ConfigurationPath(const QString& programFolder);
    static std::filesystem::path BackupPath(const QString& programFolder);

    // Written to a temporary file and renamed over config.dat: a failed save leaves the
    // previous file whole. Gives what it wrote.
    LetterConfiguration Save(const QString& programFolder) const;

    // Nothing happens when there is no config.dat (false). Every value is read and converted
    // before any control changes: a value that does not read ends the load with its message
    // and leaves every field as it was.
    bool Load(const QString& programFolder);

    // Another file in the same format, read by the same all-or-nothing loader, or written as
    // a copy (config.dat and its backup stay as they are).
    void LoadFrom(const std::filesystem::path& path);
    void SaveCopy(const std::filesystem::path& path) const;

    // "Save a Copy As..." and "Load From File...": a file dialog, then the same format and
    // the same loader. True when the user chose a file and it was written or loaded.
    bool SaveCopyAs(QWidget* parent, DialogService& dialogs);
    bool LoadFromFile(QWidget* parent, DialogService& dialogs);

    // Calls `changed` whenever a bound control may have changed its value; the connections
    // end with `context`.
    void NotifyChanges(QObject& context, const std::function<void()>& changed) const;

private:
    void ApplyField(const ConfigField& field, const LetterConfiguration& config);
    template <typename Control>
    Control& BoundControl(const ConfigField& field) const;

    QWidget& form_;
    RecordPage& features_;
    RecordPage& testimonials_;
    FileDialog copyDialog_;
    FileDialog loadDialog_;
};

} // namespace scribvane
