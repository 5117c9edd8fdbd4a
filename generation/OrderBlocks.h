// The two order buttons of a letter, built from their fixed pieces with the seller's values put
// in exactly as typed (no escaping, no URL encoding).
#pragma once

#include <string>
#include <string_view>

namespace scribvane {

// The payment processor's sell script that the ClickBank button leads to.
inline constexpr std::string_view kClickBankSellAddress = "http://www.clickbank.net/sell.cgi";

// The blocks before their placeholders are filled: "%%ORDERLINK%%" in the direct order block
// (496 characters), "%%CBNAME%%", "%%PRODNAME%%" and "%%PRODDESC%%" in the ClickBank block
// (502 characters besides the sell address).
std::string DirectOrderBlockTemplate();
std::string ClickBankOrderBlockTemplate();

// The direct order block leading to `link`.
std::string DirectOrderBlock(std::string_view link);

// The ClickBank block; the product name and description are put in before the account name,
// so an account name is never scanned for their placeholders.
std::string ClickBankOrderBlock(std::string_view accountName, std::string_view productName,
                                std::string_view description);

} // namespace scribvane
