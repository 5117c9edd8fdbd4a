// The colour chooser: entries, swatches, and the custom entry with its picker.
#include "widgets/ColorChooser.h"

#include "widgets/QtText.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <array>

namespace scribvane {

namespace {

constexpr ColorValue Rgb(unsigned red, unsigned green, unsigned blue) {
    return red | (green << 8) | (blue << 16);
}

constexpr ColorValue kSystemColorFlag = 0x80000000u;
constexpr int kCustomIndex = 0;

struct NamedColor {
    const char* name;
    ColorValue value;
};

// clang-format off
constexpr std::array<NamedColor, 20> kStandardColors = {{
    {"Black", Rgb(0x00, 0x00, 0x00)},   {"Maroon", Rgb(0x80, 0x00, 0x00)},
    {"Green", Rgb(0x00, 0x80, 0x00)},   {"Olive", Rgb(0x80, 0x80, 0x00)},
    {"Navy", Rgb(0x00, 0x00, 0x80)},    {"Purple", Rgb(0x80, 0x00, 0x80)},
    {"Teal", Rgb(0x00, 0x80, 0x80)},    {"Gray", Rgb(0x80, 0x80, 0x80)},
    {"Silver", Rgb(0xC0, 0xC0, 0xC0)},  {"Red", Rgb(0xFF, 0x00, 0x00)},
    {"Lime", Rgb(0x00, 0xFF, 0x00)},    {"Yellow", Rgb(0xFF, 0xFF, 0x00)},
    {"Blue", Rgb(0x00, 0x00, 0xFF)},    {"Fuchsia", Rgb(0xFF, 0x00, 0xFF)},
    {"Aqua", Rgb(0x00, 0xFF, 0xFF)},    {"White", Rgb(0xFF, 0xFF, 0xFF)},
    // The extended colours.
    {"Money Green", Rgb(0xC0, 0xDC, 0xC0)}, {"Sky Blue", Rgb(0xA6, 0xCA, 0xF0)},
    {"Cream", Rgb(0xFF, 0xFB, 0xF0)},       {"Medium Gray", Rgb(0xA0, 0xA0, 0xA4)},
}};

// The system colours by their index; the palette gives their swatch on this desktop.
struct SystemColor {
    const char* name;
    unsigned index;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

constexpr std::array<SystemColor, 30> kSystemColors = {{
    {"Scroll Bar", 0, QPalette::Active, QPalette::Button},
    {"Background", 1, QPalette::Active, QPalette::Window},
    {"Active Caption", 2, QPalette::Active, QPalette::Highlight},
    {"Inactive Caption", 3, QPalette::Inactive, QPalette::Mid},
    {"Menu", 4, QPalette::Active, QPalette::Window},
    {"Window", 5, QPalette::Active, QPalette::Base},
    {"Window Frame", 6, QPalette::Active, QPalette::Shadow},
    {"Menu Text", 7, QPalette::Active, QPalette::WindowText},
    {"Window Text", 8, QPalette::Active, QPalette::Text},
    {"Caption Text", 9, QPalette::Active, QPalette::HighlightedText},
    {"Active Border", 10, QPalette::Active, QPalette::Midlight},
    {"Inactive Border", 11, QPalette::Inactive, QPalette::Midlight},
    {"Application Workspace", 12, QPalette::Active, QPalette::Dark},
    {"Highlight", 13, QPalette::Active, QPalette::Highlight},
    {"Highlight Text", 14, QPalette::Active, QPalette::HighlightedText},
    {"Button Face", 15, QPalette::Active, QPalette::Button},
    {"Button Shadow", 16, QPalette::Active, QPalette::Dark},
    {"Gray Text", 17, QPalette::Disabled, QPalette::Text},
    {"Button Text", 18, QPalette::Active, QPalette::ButtonText},
    {"Inactive Caption Text", 19, QPalette::Inactive, QPalette::Text},
    {"Button Highlight", 20, QPalette::Active, QPalette::Light},
    {"3D Dark Shadow", 21, QPalette::Active, QPalette::Shadow},
    {"3D Light", 22, QPalette::Active, QPalette::Midlight},
    {"Info Text", 23, QPalette::Active, QPalette::ToolTipText},
    {"Info Background", 24, QPalette::Active, QPalette::ToolTipBase},
    {"Hot Light", 26, QPalette::Active, QPalette::Link},
    {"Gradient Active Caption", 27, QPalette::Active, QPalette::Highlight},
    {"Gradient Inactive Caption", 28, QPalette::Inactive, QPalette::Mid},
    {"Menu Highlight", 29, QPalette::Active, QPalette::Highlight},
    {"Menu Bar", 30, QPalette::Active, QPalette::Window},
}};
// clang-format on

QIcon SwatchOf(ColorValue color) {
    QPixmap pixmap(16, 12);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(0x60, 0x60, 0x60));
    painter.setBrush(DisplayColorOf(color));
    painter.drawRect(0, 0, pixmap.width() - 1, pixmap.height() - 1);
    return QIcon(pixmap);
}

QVariant DataOf(ColorValue color) {
    return QVariant::fromValue(static_cast<uint>(color));
}

} // namespace

QColor DisplayColorOf(ColorValue color) {
    if ((color & 0xFF000000u) == kSystemColorFlag) {
        for (const auto& system : kSystemColors) {
            if (system.index == (color & 0xFFu)) {
                return QGuiApplication::palette().color(system.group, system.role);
            }
        }
        return Qt::black;
    }
    return QColorOf(color);
}

ColorChooser::ColorChooser(QWidget* parent) : QComboBox(parent), dialogs_(&StandardDialogs()) {
    addItem(tr("Custom..."));
    for (const auto& named : kStandardColors) {
        AddColor(QString::fromLatin1(named.name), named.value);
    }
    for (const auto& system : kSystemColors) {
        AddColor(QString::fromLatin1(system.name), kSystemColorFlag | system.index);
    }
    setMaxVisibleItems(16);
    setCurrentIndex(-1);
    // Only the user's choice opens the picker; programmatic selections never do.
    connect(this, &QComboBox::activated, this, &ColorChooser::OnActivated);
}

void ColorChooser::AddColor(const QString& name, ColorValue color) {
    addItem(SwatchOf(color), name, DataOf(color));
}

int ColorChooser::IndexOfColor(ColorValue color) const {
    for (int index = kCustomIndex + 1; index < count(); ++index) {
        if (itemData(index).toUInt() == color) {
            return index;
        }
    }
    return -1;
}

void ColorChooser::SelectColor(ColorValue color) {
    const int index = IndexOfColor(color);
    if (index >= 0) {
        setCurrentIndex(index);
    } else {
        SetCustomColor(color);
        setCurrentIndex(kCustomIndex);
    }
    previousIndex_ = currentIndex();
}

ColorValue ColorChooser::SelectedColor() const {
    const QVariant data = currentIndex() < 0 ? QVariant() : itemData(currentIndex());
    return data.isValid() ? static_cast<ColorValue>(data.toUInt()) : kNoColor;
}

void ColorChooser::SetCustomColor(ColorValue color) {
    setItemData(kCustomIndex, DataOf(color));
    setItemIcon(kCustomIndex, SwatchOf(color));
}

void ColorChooser::SetDialogService(DialogService& dialogs) {
    dialogs_ = &dialogs;
}

void ColorChooser::OnActivated(int index) {
    if (index != kCustomIndex) {
        previousIndex_ = index;
        return;
    }
    const QVariant held = itemData(kCustomIndex);
    const ColorValue initial =
        held.isValid() ? static_cast<ColorValue>(held.toUInt()) : Rgb(0xFF, 0xFF, 0xFF);
    if (const auto picked = dialogs_->PickColor(this, DisplayColorOf(initial), QString())) {
        SetCustomColor(ColorValueOf(*picked));
        previousIndex_ = kCustomIndex;
    } else {
        // Cancelled: the chooser shows what it showed before.
        setCurrentIndex(previousIndex_);
    }
}

} // namespace scribvane
