// The e-mail sign-up form; see SignupForm.h.
#include "generation/SignupForm.h"

#include "generation/HtmlText.h"
#include "generation/SellingBlocks.h"
#include "utils/TextHelpers.h"

namespace scribvane {
namespace {

// One parameter of the address's query ("u" of "?u=abc&id=def"); empty when it has none.
std::string_view QueryParameter(std::string_view address, std::string_view name) {
    const std::size_t query = address.find('?');
    if (query == std::string_view::npos) {
        return {};
    }
    std::string_view rest = address.substr(query + 1);
    rest = rest.substr(0, rest.find('#'));
    while (!rest.empty()) {
        const std::string_view pair = rest.substr(0, rest.find('&'));
        if (pair.size() > name.size() && pair.starts_with(name) && pair[name.size()] == '=') {
            return pair.substr(name.size() + 1);
        }
        rest = pair.size() < rest.size() ? rest.substr(pair.size() + 1) : std::string_view();
    }
    return {};
}

} // namespace

SignupProvider SignupProviderOf(std::string_view address) {
    address = TrimBlanks(address);
    const std::string host = AddressHost(address);
    if (host.empty()) {
        return {"Netlify Forms",
                "email",
                "name",
                "bot-field",
                "https://www.netlify.com/privacy/",
                true};
    }
    if (HostIsWithin(host, "list-manage.com")) {
        // Mailchimp's own robot trap is named after the list's account and id.
        const std::string trap = "b_" + std::string(QueryParameter(address, "u")) + "_" +
                                 std::string(QueryParameter(address, "id"));
        return {"Mailchimp", "EMAIL", "FNAME", trap, "https://www.intuit.com/privacy/statement/"};
    }
    if (HostIsWithin(host, "kit.com") || HostIsWithin(host, "convertkit.com")) {
        return {"Kit", "email_address", "first_name", "website", "https://kit.com/privacy"};
    }
    if (HostIsWithin(host, "mailerlite.com")) {
        return {"MailerLite", "fields[email]", "fields[name]", "website",
                "https://www.mailerlite.com/legal/privacy-policy"};
    }
    if (HostIsWithin(host, "sibforms.com") || HostIsWithin(host, "brevo.com")) {
        return {"Brevo", "EMAIL", "FIRSTNAME", "email_address_check",
                "https://www.brevo.com/legal/privacypolicy/"};
    }
    if (HostIsWithin(host, "formspree.io")) {
        return {"Formspree", "email", "name", "_gotcha",
                "https://formspree.io/legal/privacy-policy"};
    }
    return {"the form's own service", "email", "name", "website", {}};
}

std::string Html5Signup(const LetterValues& values) {
    const std::string_view address = TrimBlanks(values.signupAddress);
    if (address.empty()) {
        return {};
    }
    const bool german = IsGermanLetter(values.language);
    const SignupProvider provider = SignupProviderOf(address);
    const auto input = [](std::string_view id, std::string_view type, std::string_view name,
                          std::string_view autocomplete, bool required) {
        return "<input id=\"" + std::string(id) + "\" type=\"" + std::string(type) + "\" name=\"" +
               EscapeAttribute(name) + "\" autocomplete=\"" + std::string(autocomplete) + "\"" +
               (required ? " required" : "") + ">";
    };
    std::string form = "<form class=\"signup\" method=\"post\" action=\"" +
                       EscapeAttribute(EncodeBlanks(address)) + "\"";
    if (provider.netlify) {
        form += " name=\"signup\" data-netlify=\"true\" data-netlify-honeypot=\"bot-field\"";
    }
    form += ">";
    if (provider.netlify) {
        form += "<input type=\"hidden\" name=\"form-name\" value=\"signup\">";
    }
    form += std::string("<p class=\"signup-title\">") +
            (german ? "Noch nicht so weit? Neuigkeiten per E-Mail:"
                    : "Not ready yet? Get the news by e-mail:") +
            "</p><p class=\"signup-field\"><label for=\"signup-name\">" +
            (german ? "Vorname" : "First name") + "</label>" +
            input("signup-name", "text", provider.nameField, "given-name", false) +
            "</p><p class=\"signup-field\"><label for=\"signup-email\">" +
            (german ? "E-Mail-Adresse" : "E-mail address") + "</label>" +
            input("signup-email", "email", provider.emailField, "email", true) + "</p>";
    // People do not see the trap, so only robots fill it in; the provider drops those.
    form += std::string("<div class=\"signup-trap\" aria-hidden=\"true\" style=\"position:absolute;"
                        "left:-10000px\"><label for=\"signup-trap\">") +
            (german ? "Dieses Feld leer lassen" : "Leave this field empty") +
            "</label><input id=\"signup-trap\" type=\"text\" name=\"" +
            EscapeAttribute(provider.honeypotField) +
            "\" tabindex=\"-1\" autocomplete=\"off\" value=\"\"></div>";
    if (const std::string_view consent = TrimBlanks(values.signupConsent); !consent.empty()) {
        form += "<p class=\"signup-consent\"><input id=\"signup-consent\" type=\"checkbox\" "
                "name=\"consent\" value=\"yes\" required><label for=\"signup-consent\">" +
                EscapeText(consent) + "</label></p>";
    }
    form += std::string("<p class=\"signup-send\"><button type=\"submit\">") +
            (german ? "Anmelden" : "Sign up") + "</button></p></form>";
    return form;
}

std::optional<DataUse> SignupDataUse(const LetterValues& values) {
    const std::string_view address = TrimBlanks(values.signupAddress);
    if (address.empty()) {
        return std::nullopt;
    }
    const bool german = IsGermanLetter(values.language);
    const SignupProvider provider = SignupProviderOf(address);
    return DataUse{std::string(german ? "E-Mail-Anmeldung" : "E-mail sign-up") + " (" +
                       std::string(provider.name) + ")",
                   german ? "Ihr Vorname und Ihre E-Mail-Adresse, wenn Sie sich anmelden, um Ihnen "
                            "die E-Mails zu senden, die Sie bestellt haben."
                          : "Your first name and e-mail address, when you sign up, to send you "
                            "the e-mails you asked for.",
                   std::string(provider.privacyAddress), false};
}

} // namespace scribvane
