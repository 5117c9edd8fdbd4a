// The Link dialog's addresses; see LinkAddress.h.
#include "editing/LinkAddress.h"

#include "utils/TextHelpers.h"

#include <algorithm>
#include <cctype>

namespace scribvane {
namespace {

bool IsHostByte(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-' || c == '.' ||
           static_cast<unsigned char>(c) >= 0x80;
}

// "shop.example", "www.shop.example:8080": a dot inside, and only host bytes around it.
bool LooksLikeHost(std::string_view host) {
    const std::size_t colon = host.find(':');
    const std::string_view name = host.substr(0, colon);
    const std::size_t dot = name.find('.');
    return dot != std::string_view::npos && dot > 0 && name.back() != '.' &&
           std::all_of(name.begin(), name.end(), IsHostByte);
}

} // namespace

std::optional<std::string> LinkAddressOf(std::string_view typed) {
    const std::string_view text = TrimBlanks(typed);
    if (text.empty()) {
        return std::string();
    }
    if (std::any_of(text.begin(), text.end(), [](char c) {
            return std::isspace(static_cast<unsigned char>(c)) != 0 || c == '"' || c == '<' ||
                   c == '>' || static_cast<unsigned char>(c) < 0x20;
        })) {
        return std::nullopt;
    }
    for (const std::string_view scheme : {"https://", "http://"}) {
        if (StartsWithIgnoringAsciiCase(text, scheme)) {
            const std::string_view rest = text.substr(scheme.size());
            return LooksLikeHost(rest.substr(0, rest.find_first_of("/?#")))
                       ? std::optional<std::string>(text)
                       : std::nullopt;
        }
    }
    const bool mailto = StartsWithIgnoringAsciiCase(text, "mailto:");
    const std::string_view mailbox = mailto ? text.substr(7) : text;
    const std::size_t at = mailbox.find('@');
    if (at != std::string_view::npos) {
        const std::string_view host = mailbox.substr(at + 1, mailbox.find('?') - at - 1);
        if (at > 0 && mailbox.find('@', at + 1) == std::string_view::npos && LooksLikeHost(host) &&
            mailbox.find('/') == std::string_view::npos) {
            return "mailto:" + std::string(mailbox);
        }
        return std::nullopt;
    }
    // A host, perhaps with a port; another scheme ("javascript:", "file:", "C:") has no dot
    // before its colon and is refused.
    return LooksLikeHost(text.substr(0, text.find_first_of("/?#")))
               ? std::optional<std::string>("https://" + std::string(text))
               : std::nullopt;
}

} // namespace scribvane
