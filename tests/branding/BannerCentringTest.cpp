// The banner centring arithmetic: halves truncated separately, negative offsets allowed.
#include "branding/BannerCentring.h"

#include <gtest/gtest.h>

namespace scribvane {
namespace {

struct CentringCase {
    int panel;
    int picture;
    int offset;
};

class BannerCentringTest : public ::testing::TestWithParam<CentringCase> {};

TEST_P(BannerCentringTest, HalvesAreTruncatedSeparately) {
    const CentringCase& c = GetParam();
    EXPECT_EQ(CentredOffset(c.panel, c.picture), c.offset);
}

INSTANTIATE_TEST_SUITE_P(Offsets, BannerCentringTest,
                         ::testing::Values(CentringCase{785, 100, 342},   // 392 - 50
                                           CentringCase{785, 101, 342},   // 392 - 50, not 342.5
                                           CentringCase{784, 101, 342},   // 392 - 50
                                           CentringCase{65, 60, 2},       // 32 - 30
                                           CentringCase{65, 0, 32},       // an empty picture
                                           CentringCase{785, 1001, -108}, // overhangs both sides
                                           CentringCase{0, 468, -234}, CentringCase{300, 300, 0}));

} // namespace
} // namespace scribvane
