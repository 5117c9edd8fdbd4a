// The dialog that sets up a publish target: its name, address, public address and password,
// a warning where the password would travel unencrypted, and "Test Connection", which writes
// and removes a probe file in the remote folder.
#pragma once

#include "publishing/PublishTargets.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace scribvane {

class PublishTargetDialog final : public QDialog {
    Q_OBJECT

public:
    PublishTargetDialog(const PublishTarget& target, const QString& secret, QWidget* parent);

    PublishTarget Target() const;
    QString Secret() const;
    // Runs the probe and shows its outcome in the dialog; true when the folder can be written.
    bool TestConnection();

private:
    void UpdateWarning();
    void AcceptIfValid();

    PublishTarget target_;
    QLineEdit* name_;
    QLineEdit* address_;
    QLineEdit* publicAddress_;
    QLineEdit* keyId_;
    QLineEdit* password_;
    QLabel* warning_;
    QLabel* outcome_;
    QPushButton* test_;
};

} // namespace scribvane
