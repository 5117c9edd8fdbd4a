// The order blocks, each written as its table of pieces; see OrderBlocks.h.
#include "generation/OrderBlocks.h"

#include "utils/TextHelpers.h"

#include <initializer_list>

namespace scribvane {
namespace {} // namespace

// clang-format off
std::string DirectOrderBlockTemplate() {
    return JoinPieces({
        /*  1 */ "<table style='BORDER-COLLAPSE: collapse' borderColor=#000000 cellSpacing=0 "
                 "cellPadding=5 width=424 bgColor=#FFFFCC border=1>",
        /*  2 */ "\t",
        /*  3 */ "<tr><td align=middle width=412><form name=Form1 method=post><p><font "
                 "face=arial color=#e60000><b>Check The Order Form!<br></b></font>",
        /*  4 */ "\t\t   ",
        /*  5 */ "<br><input name=\"button\" type=button "
                 "onclick=document.location='%%ORDERLINK%%' value='Click Here To Order Now!'>"
                 "<br><br>",
        /*  6 */ "\t           ",
        /*  7 */ "<font face=Arial size=2><b>Don't miss this offer!</b></font>",
        /*  8 */ " ",
        /*  9 */ "</form>",
        /* 10 */ " ",
        /* 11 */ "</font></td></tr>",
        /* 12 */ " ",
        /* 13 */ "</table>",
        /* 14 */ "\t\t",
        /* 15 */ "<br>",
    });
}

std::string ClickBankOrderBlockTemplate() {
    return JoinPieces({
        /*  1 */ "<table style='BORDER-COLLAPSE: collapse' borderColor=#000000 cellSpacing=0 "
                 "cellPadding=5 width=424 bgColor=#FFFFCC border=1>",
        /*  2 */ "   ",
        /*  3 */ "<tr>",
        /*  4 */ " ",
        /*  5 */ "<td align=middle width=412><form name=Form1 method=post>",
        /*  6 */ "  ",
        /*  7 */ "<p>",
        /*  8 */ " ",
        /*  9 */ "<font face=arial color=#e60000><b>Order Using ClickBank!<br>",
        /* 10 */ "   ",
        /* 11 */ "</b></font>",
        /* 12 */ " ",
        /* 13 */ "<br>",
        /* 14 */ " ",
        /* 15 */ "<input onclick=document.location='",
        /* 16 */ kClickBankSellAddress,
        /* 17 */ "?%%CBNAME%%/%%PRODNAME%%/%%PRODDESC%%' type=button "
                 "value='Click Here To Pay With ClickBank!'><br>",
        /* 18 */ " ",
        /* 19 */ "<br><font face=Arial size=2><b>Don't miss this offer!</b></font></form>"
                 "</font></td></tr></table>",
    });
}
// clang-format on

std::string DirectOrderBlock(std::string_view link) {
    return ReplaceAll(DirectOrderBlockTemplate(), "%%ORDERLINK%%", link);
}

std::string ClickBankOrderBlock(std::string_view accountName, std::string_view productName,
                                std::string_view description) {
    std::string block = ClickBankOrderBlockTemplate();
    block = ReplaceAll(block, "%%PRODNAME%%", productName);
    block = ReplaceAll(block, "%%PRODDESC%%", description);
    return ReplaceAll(block, "%%CBNAME%%", accountName);
}

} // namespace scribvane
