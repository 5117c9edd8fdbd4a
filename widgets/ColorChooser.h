// The colour chooser of the wizard pages: a drop-down list with a "Custom..." entry on top,
// then the named standard colours, the extended colours and the system colours, each with a
// swatch. It holds a ColorValue (red in the low byte); system colours keep their 0x80 marker.
#pragma once

#include "utils/TextHelpers.h"
#include "widgets/DialogService.h"

#include <QComboBox>

namespace scribvane {

class ColorChooser : public QComboBox {
    Q_OBJECT

public:
    // The value SelectedColor gives when no entry is selected.
    static constexpr ColorValue kNoColor = 0xFF000000u;

    explicit ColorChooser(QWidget* parent = nullptr);

    // Selects the entry of that value, or lets the custom entry hold it.
    void SelectColor(ColorValue color);
    ColorValue SelectedColor() const;

    // Index of the first entry that holds the value (the custom entry is not searched), or -1.
    int IndexOfColor(ColorValue color) const;

    // The service the custom entry's picker is shown through (the real dialogs until set).
    void SetDialogService(DialogService& dialogs);

private:
    void OnActivated(int index);
    void SetCustomColor(ColorValue color);
    void AddColor(const QString& name, ColorValue color);

    DialogService* dialogs_;
    int previousIndex_ = -1;
};

// The swatch colour of a chooser value: system colours are looked up in the palette.
QColor DisplayColorOf(ColorValue color);

} // namespace scribvane
