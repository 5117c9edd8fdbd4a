// The e-mail sign-up form of an html5 letter: a plain HTML form that posts a visitor's name and
// e-mail address to the user's mailing-list provider, working without script, with a hidden
// field that catches form-filling robots and an optional consent check box in the user's
// words. The provider is known from the form's address, and with it the field names it reads.
#pragma once

#include "generation/LetterFiles.h"
#include "generation/LetterValues.h"

#include <optional>
#include <string>
#include <string_view>

namespace scribvane {

struct SignupProvider {
    std::string_view name;           // "Mailchimp"; "your own site's form" for any other
    std::string_view emailField;     // the name the provider reads the address under
    std::string_view nameField;      // and the visitor's name
    std::string honeypotField;       // left empty by people, filled in by robots
    std::string_view privacyAddress; // the provider's privacy policy; may be empty
    bool netlify = false;            // a form of the site's own host (Netlify Forms)
};

// By the address's host: Mailchimp (list-manage.com), Kit (kit.com, convertkit.com),
// MailerLite, Brevo (sibforms.com), Formspree; a relative address is a Netlify form of the
// site itself; any other address gets plain "email" and "name" fields.
SignupProvider SignupProviderOf(std::string_view address);

// The form for %%SIGNUP%%; empty without an address.
std::string Html5Signup(const LetterValues& values);

// What the form collects, for the privacy page; nothing without a form.
std::optional<DataUse> SignupDataUse(const LetterValues& values);

} // namespace scribvane
