// Applying the branding files of the program folder to the window once at start-up: caption,
// banner, link labels, skin and icon. The window hands over its controls and keeps the values
// returned for its click actions.
#pragma once

#include "branding/BrandingChoice.h"

#include <QString>

class QLabel;
class QWidget;

namespace scribvane {

// The dynamic property of a link label that receives its target address. A label class that
// declares a property of this name with a setter gets the address through that setter.
inline constexpr char kLinkTargetProperty[] = "url";

// The controls branding writes to; every pointer must be set.
struct BrandingTargets {
    QWidget* window = nullptr; // caption and skin
    QWidget* panBanner = nullptr;
    QLabel* imgBanner = nullptr;
    QLabel* gifBanner = nullptr; // shows an animated banner through a QMovie
    QLabel* lblLink1URL = nullptr;
    QLabel* lblLink2URL = nullptr;
    QString programFolder;
};

// Without dbconfig.dat in the program folder nothing is touched and the values are empty.
// Otherwise: the caption gets the product name and version; one banner is chosen and shown
// from its stored file (no file is renamed), the panel hidden when there is no banner or its
// picture cannot be shown; two different links go to the labels (empty when missing); the
// skin and the icon are applied when their files are usable.
BrandingValues ApplyBranding(const BrandingTargets& targets,
                             const RandomIndex& random = ClockSeededIndex);

// The target address a link label holds (see kLinkTargetProperty).
QString LinkLabelTarget(const QLabel* label);

} // namespace scribvane
