// The dialog that sets up a publish target: its name, address, public address and password,
// a warning where the password would travel unencrypted, and "Test Connection", which writes
// and removes a probe file in the remote folder, asking to trust a server that is not known yet
// as Publish does. The dialog grows to show a long outcome instead of squashing its fields.
#pragma once

#include "publishing/PublishTargets.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace scribvane {

class PublishPrompts;

class PublishTargetDialog final : public QDialog {
    Q_OBJECT

public:
    // `prompts` asks the trust question of Test Connection.
    PublishTargetDialog(const PublishTarget& target, const QString& secret, PublishPrompts& prompts,
                        QWidget* parent);

    PublishTarget Target() const;
    QString Secret() const;
    // Runs the probe and shows its outcome in the dialog; true when the folder can be written.
    bool TestConnection();

private:
    void UpdateWarning();
    void AcceptIfValid();
    // What the test found, in the user's words, and the server's own words under "Details".
    void ShowOutcome(const QString& message, const QString& details = {});
    // Keeps a fingerprint trusted in a test with the target, for the address it was trusted for.
    void RememberTrust(const std::string& address, const std::string& fingerprint);

    PublishTarget target_;
    PublishPrompts& prompts_;
    QLineEdit* name_;
    QLineEdit* address_;
    QLineEdit* publicAddress_;
    QLineEdit* keyId_;
    QLineEdit* password_;
    QLabel* warning_;
    QLabel* outcome_;
    QLabel* details_;
    QPushButton* test_;
};

} // namespace scribvane
