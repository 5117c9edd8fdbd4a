// How widget tests reach the main window. Its controls are found as a user finds them, by the
// names they carry; what no control shows (the record lists, the branding values, the parts
// the window owns) is reached through the probe, the window's one friend.
#pragma once

#include "TfrmMain.h"
#include "generation/LetterPage.h"
#include "persistence/ConfigurationForm.h"
#include "persistence/LetterConfiguration.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QtGlobal>

namespace scribvane::testing {

// The window's control named `name`; a missing one stops the test program, as it is a fault
// of the window, not of what is being tested.
template <class Widget>
Widget* Control(const QObject& window, const char* name) {
    auto* found = window.findChild<Widget*>(QString::fromLatin1(name));
    if (found == nullptr) {
        qFatal("The window has no %s named %s", Widget::staticMetaObject.className(), name);
    }
    return found;
}

class TfrmMainProbe {
public:
    explicit TfrmMainProbe(TfrmMain& window) : window_(window) {}

    std::vector<std::string>& FFeatures() const { return window_.FFeatures; }
    std::vector<std::string>& FTestimonials() const { return window_.FTestimonials; }
    const std::string& FAffiliateID() const { return window_.branding_.affiliateId; }
    const std::string& FBannerURL() const { return window_.branding_.bannerUrl; }
    const std::string& FBannerPath() const { return window_.branding_.bannerPath; }
    const std::string& FLink1URL() const { return window_.branding_.link1Url; }
    const std::string& FLink2URL() const { return window_.branding_.link2Url; }
    const std::string& FLink1Name() const { return window_.branding_.link1Name; }
    const std::string& FLink2Name() const { return window_.branding_.link2Name; }
    const std::string& FIconPath() const { return window_.branding_.iconPath; }

    const auto& Editors() const { return window_.editors_; }
    const auto& Toolbars() const { return window_.toolbars_; }
    MessageService& msgMain() const { return window_.msgMain(); }
    const QString& ProgramFolder() const { return window_.ProgramFolder(); }
    UpdateController& UpdateChecker() const { return *window_.updateCheck_; }
    Autosave& Autosaver() const { return *window_.autosave_; }
    LetterPage& Letter() const { return *window_.letter_; }
    // What the controls show now, read from each of them (five engine reads).
    LetterConfiguration ReadLetterConfiguration() const { return window_.configuration_->Read(); }
    QWidget* ControlOf(LetterField field) const { return window_.configuration_->ControlOf(field); }
    void RunStartUpStep(const std::function<void()>& step) const { window_.RunStartUpStep(step); }
    void FillFontChoosers(const QStringList& families) const { window_.FillFontChoosers(families); }

private:
    TfrmMain& window_;
};

inline TfrmMainProbe Probe(TfrmMain& window) {
    return TfrmMainProbe(window);
}

} // namespace scribvane::testing
