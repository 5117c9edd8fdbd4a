// The two order buttons: exact texts, lengths, and values put in as typed.
#include "generation/OrderBlocks.h"

#include <gtest/gtest.h>

namespace scribvane {
namespace {

std::size_t Count(const std::string& text, std::string_view part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

TEST(OrderBlocks, BlocksHaveTheirFixedLengths) {
    EXPECT_EQ(DirectOrderBlockTemplate().size(), 496u);
    EXPECT_EQ(ClickBankOrderBlockTemplate().size(), 502u + kClickBankSellAddress.size());
    EXPECT_EQ(kClickBankSellAddress, "http://www.clickbank.net/sell.cgi");
}

TEST(OrderBlocks, DirectBlockIsExact) {
    EXPECT_EQ(DirectOrderBlock("http://shop.test/buy"),
              "<table style='BORDER-COLLAPSE: collapse' borderColor=#000000 cellSpacing=0 "
              "cellPadding=5 width=424 bgColor=#FFFFCC border=1>\t<tr><td align=middle "
              "width=412><form name=Form1 method=post><p><font face=arial color=#e60000><b>Check "
              "The Order Form!<br></b></font>\t\t   <br><input name=\"button\" type=button "
              "onclick=document.location='http://shop.test/buy' value='Click Here To Order "
              "Now!'><br><br>\t           <font face=Arial size=2><b>Don't miss this "
              "offer!</b></font> </form> </font></td></tr> </table>\t\t<br>");
}

TEST(OrderBlocks, ClickBankBlockIsExact) {
    EXPECT_EQ(ClickBankOrderBlock("seller", "Book", "Great read"),
              "<table style='BORDER-COLLAPSE: collapse' borderColor=#000000 cellSpacing=0 "
              "cellPadding=5 width=424 bgColor=#FFFFCC border=1>   <tr> <td align=middle "
              "width=412><form name=Form1 method=post>  <p> <font face=arial "
              "color=#e60000><b>Order Using ClickBank!<br>   </b></font> <br> <input "
              "onclick=document.location='http://www.clickbank.net/sell.cgi?seller/Book/Great "
              "read' type=button value='Click Here To Pay With ClickBank!'><br> <br><font "
              "face=Arial size=2><b>Don't miss this offer!</b></font></form></font></td></tr>"
              "</table>");
}

struct ClickBankCase {
    std::string account;
    std::string product;
    std::string description;
    std::string query; // what follows the sell address up to the closing quote
};

class ClickBankQuery : public ::testing::TestWithParam<ClickBankCase> {};

TEST_P(ClickBankQuery, ValuesGoInAsTypedProductAndDescriptionFirst) {
    const auto& c = GetParam();
    const std::string block = ClickBankOrderBlock(c.account, c.product, c.description);
    const std::string start = std::string(kClickBankSellAddress) + "?";
    const auto from = block.find(start);
    ASSERT_NE(from, std::string::npos);
    const auto to = block.find("' type=button", from);
    EXPECT_EQ(block.substr(from + start.size(), to - from - start.size()), c.query);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClickBankQuery,
    ::testing::Values(ClickBankCase{"acct", "", "", "acct//"},
                      ClickBankCase{"acct", "My Book", "a & b", "acct/My Book/a & b"},
                      // The account name is put in last, so its placeholders stay; a product
                      // name holding the account placeholder gets the account.
                      ClickBankCase{"%%PRODNAME%%", "x", "y", "%%PRODNAME%%/x/y"},
                      ClickBankCase{"acct", "%%CBNAME%%", "d", "acct/acct/d"}));

TEST(OrderBlocks, DirectLinkWithQuoteOrPlaceholderIsNotTouched) {
    const std::string block = DirectOrderBlock("http://x.test/?a='b'%%ORDERLINK%%");
    EXPECT_EQ(Count(block, "document.location='http://x.test/?a='b'%%ORDERLINK%%' value"), 1u);
}

} // namespace
} // namespace scribvane
