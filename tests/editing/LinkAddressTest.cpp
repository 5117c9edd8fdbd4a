// The Link dialog's addresses: what a marketer types, and what the link gets.
#include "editing/LinkAddress.h"

#include <gtest/gtest.h>

namespace scribvane {
namespace {

TEST(LinkAddress, MakesTypedAddressesLinksAndRefusesTheRest) {
    const struct {
        std::string_view typed;
        std::optional<std::string> link;
    } cases[] = {
        {"https://shop.example/order?a=1&b=2#buy", "https://shop.example/order?a=1&b=2#buy"},
        {"HTTP://Shop.example", "HTTP://Shop.example"},
        {"  shop.example/order ", "https://shop.example/order"},
        {"www.shop.example:8080/x", "https://www.shop.example:8080/x"},
        {"help@shop.example", "mailto:help@shop.example"},
        {"mailto:help@shop.example?subject=Hi", "mailto:help@shop.example?subject=Hi"},
        {"", ""},
        {"javascript:alert(1)", std::nullopt},
        {"file:///etc/passwd", std::nullopt},
        {"C:\\offer.html", std::nullopt},
        {"order now", std::nullopt},
        {"https://shop.example/\"onclick", std::nullopt},
        {"https://", std::nullopt},
        {"a@b@c.example", std::nullopt},
        {"localhost", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LinkAddressOf(c.typed), c.link) << c.typed;
    }
}

} // namespace
} // namespace scribvane
