// What a link typed into the Link dialog points to: a web page or an e-mail address, the way a
// marketer types them ("shop.example/order", "help@shop.example"), made the address a link
// needs. Anything else (a script, a file on this computer, words) is no link address.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace scribvane {

// "https://…", "http://…" and "mailto:…" as typed; "name@host.tld" as a mailto address;
// "host.tld/…" or "www.…" with "https://" in front; "" for an empty text (no link); nothing
// for anything else, or for a text with a blank, a quote or a bracket in it.
std::optional<std::string> LinkAddressOf(std::string_view typed);

} // namespace scribvane
