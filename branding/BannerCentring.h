// The banner centring arithmetic: each half is an integer halving truncated toward zero, taken
// separately, so a 101-pixel picture in a 785-pixel panel sits at 392 - 50 = 342, and a
// picture larger than its panel gets a negative offset and overhangs it on both sides.
#pragma once

namespace scribvane {

constexpr int CentredOffset(int panelExtent, int pictureExtent) {
    return panelExtent / 2 - pictureExtent / 2;
}

} // namespace scribvane
