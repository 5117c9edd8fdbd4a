// The shipped policy pages; see PolicyPages.h.
#include "generation/PolicyPages.h"

#include "generation/BlockWriter.h"
#include "generation/HtmlText.h"
#include "generation/LetterGenerator.h"
#include "generation/SellingBlocks.h"
#include "utils/FileIo.h"
#include "utils/TextHelpers.h"
#include "utils/TextSink.h"

namespace scribvane {
namespace {

// The policy's own layout, over the template's page colours and fonts.
constexpr std::string_view kPolicyStyle =
    "<style>\r\n"
    ".policy { box-sizing: border-box; max-width: 760px; margin: 24px auto; padding: 24px 28px;"
    " background: #ffffff; color: #1f2933; border-radius: 8px; line-height: 1.6;"
    " overflow-wrap: break-word; }\r\n"
    ".policy h1 { margin: 0 0 16px; font-size: 28px; line-height: 1.25; }\r\n"
    ".policy h2 { margin: 24px 0 8px; font-size: 20px; }\r\n"
    ".policy a { color: #0b5cbd; }\r\n"
    "</style>\r\n";

struct Seller {
    std::string name;    // escaped; "the seller" in the page's words when empty
    std::string address; // escaped
    std::string email;   // a mailto link, or empty
};

Seller SellerOf(const LetterValues& values, bool german) {
    Seller seller;
    const auto name = TrimBlanks(values.sellerName);
    seller.name =
        name.empty() ? std::string(german ? "der Verk&auml;ufer" : "the seller") : EscapeText(name);
    seller.address = EscapeText(TrimBlanks(values.sellerAddress));
    if (const auto email = TrimBlanks(values.sellerEmail); !email.empty()) {
        seller.email = "<a href=\"mailto:" + EscapeAttribute(EncodeBlanks(email)) + "\">" +
                       EscapeText(email) + "</a>";
    }
    return seller;
}

std::string Paragraph(std::string_view text) {
    return "<p>" + std::string(text) + "</p>\r\n";
}

std::string Heading(std::string_view text) {
    return "<h2>" + std::string(text) + "</h2>\r\n";
}

std::string UsesList(const std::vector<DataUse>& uses, bool german) {
    std::string list = "<ul>\r\n";
    for (const DataUse& use : uses) {
        list += "<li><b>" + EscapeText(use.service) + "</b>: " + EscapeText(use.purpose);
        if (use.storesIdentifier) {
            list += german ? " Nur mit Ihrer Einwilligung; sie setzt Cookies oder &auml;hnliche "
                             "Kennungen."
                           : " Only with your consent; it stores cookies or similar identifiers.";
        }
        if (!use.privacyAddress.empty()) {
            list += " <a href=\"" + EscapeAttribute(EncodeBlanks(use.privacyAddress)) + "\">" +
                    (german ? "Datenschutz des Anbieters" : "The provider's privacy policy") +
                    "</a>";
        }
        list += "</li>\r\n";
    }
    return list + "</ul>\r\n";
}

std::string PrivacyBody(const LetterValues& values, const Seller& seller,
                        const std::vector<DataUse>& uses, bool german) {
    const std::string who =
        seller.name + (seller.address.empty() ? std::string() : ", " + seller.address);
    const std::string contact = seller.email.empty() ? who : seller.email;
    std::string body;
    if (german) {
        body += "<h1>Datenschutzerkl&auml;rung</h1>\r\n";
        body +=
            Paragraph("Diese Erkl&auml;rung sagt, was mit Ihren Daten geschieht, wenn Sie "
                      "diese Seite besuchen. Verantwortlich ist " +
                      who + "." + (seller.email.empty() ? "" : " Fragen an " + seller.email + "."));
        body += Heading("Was diese Seite erfasst");
        body += Paragraph(
            "Der Server, der diese Seite ausliefert, protokolliert wie jeder Webserver Ihre "
            "IP-Adresse, die Zeit und die aufgerufene Adresse. Diese Protokolle dienen dem "
            "Betrieb und der Sicherheit der Seite und werden nach kurzer Zeit gel&ouml;scht.");
        body += uses.empty()
                    ? Paragraph("Die Seite selbst setzt keine Cookies und verwendet "
                                "keine Dienste zur Reichweitenmessung.")
                    : Paragraph("Die Seite verwendet diese Dienste:") + UsesList(uses, german);
    } else {
        body += "<h1>Privacy policy</h1>\r\n";
        body += Paragraph("This policy says what happens to your data when you visit this "
                          "page. It is run by " +
                          who + "." +
                          (seller.email.empty() ? "" : " Questions go to " + seller.email + "."));
        body += Heading("What this page collects");
        body += Paragraph(
            "The server that sends this page records, as every web server does, your IP "
            "address, the time and the address you asked for. These records serve the site's "
            "operation and security and are deleted after a short time.");
        body += uses.empty() ? Paragraph("The page itself sets no cookies and uses no service "
                                         "that counts or follows visitors.")
                             : Paragraph("The page uses these services:") + UsesList(uses, german);
    }
    std::vector<std::string> processors;
    if (!TrimBlanks(values.clickBankName).empty()) {
        processors.emplace_back(german ? "ClickBank, der H&auml;ndler dieses Produkts"
                                       : "ClickBank, the retailer of this product");
    }
    if (!TrimBlanks(values.paypalCode).empty()) {
        processors.emplace_back("PayPal");
    }
    std::string named;
    for (std::size_t i = 0; i < processors.size(); ++i) {
        named += (i == 0 ? "" : german ? " und " : " and ") + processors[i];
    }
    if (german) {
        body += Heading("Bestellungen");
        body += Paragraph(
            "Wenn Sie bestellen, verlassen Sie diese Seite zur Bestellseite" +
            (named.empty() ? std::string() : " von " + named) +
            ". Was Sie dort eingeben, wird nach der Datenschutzerkl&auml;rung dieses Anbieters "
            "verarbeitet.");
        body += Heading("Ihre Rechte");
        body += Paragraph("Sie k&ouml;nnen Auskunft &uuml;ber Ihre Daten verlangen und sie "
                          "berichtigen oder l&ouml;schen lassen: " +
                          contact +
                          ". Sie k&ouml;nnen sich au&szlig;erdem bei einer "
                          "Datenschutz-Aufsichtsbeh&ouml;rde beschweren.");
    } else {
        body += Heading("Orders");
        body += Paragraph("When you order, you leave this page for the order page" +
                          (named.empty() ? std::string() : " of " + named) +
                          ". What you enter there is handled under that provider's privacy "
                          "policy.");
        body += Heading("Your rights");
        body += Paragraph("You may ask what data about you is held, and have it corrected or "
                          "deleted: " +
                          contact +
                          ". Where data protection law gives you the right, you may also "
                          "complain to a data protection authority.");
    }
    return body;
}

std::string TermsBody(const LetterValues& values, const Seller& seller, bool german) {
    const SellingWords& words = WordsFor(values.language);
    const std::string who = seller.name +
                            (seller.address.empty() ? std::string() : ", " + seller.address) +
                            (seller.email.empty() ? std::string() : ", " + seller.email);
    const auto deadline = ReadOfferDeadline(values.offerEnds);
    const std::string price = EscapeText(TrimBlanks(values.priceLine));
    const std::string results = TrimBlanks(values.resultsStatement).empty()
                                    ? std::string(words.typicalResults)
                                    : EscapeText(TrimBlanks(values.resultsStatement));
    const bool clickBank = !TrimBlanks(values.clickBankName).empty();
    std::string body;
    if (german) {
        body += "<h1>Verkaufsbedingungen</h1>\r\n";
        body += Paragraph("Diese Bedingungen gelten f&uuml;r Bestellungen &uuml;ber diese Seite. "
                          "Verk&auml;ufer ist " +
                          who + ".");
        body += Heading("Das Angebot");
        body += Paragraph(
            "Produkt und Preis sind so, wie die Seite sie beschreibt" +
            (price.empty() ? std::string() : " (" + price + ")") + "." +
            (deadline ? " Das Angebot gilt bis " + DeadlineText(*deadline, values.language) + "."
                      : std::string()));
        body += Heading("Bezahlung und Lieferung");
        body += Paragraph(clickBank
                              ? "Bestellungen werden von ClickBank abgewickelt, dem H&auml;ndler "
                                "dieses Produkts, nach dessen Bedingungen und "
                                "R&uuml;ckerstattungsregeln."
                              : "Die Bestellseite nennt, wie und wann das Produkt geliefert wird.");
        body += Heading("R&uuml;ckgabe");
        body += Paragraph("Wenn Sie nicht zufrieden sind, schreiben Sie an " +
                          (seller.email.empty() ? who : seller.email) +
                          ". Ihre gesetzlichen Rechte bleiben unber&uuml;hrt.");
        body += Heading("Ergebnisse");
    } else {
        body += "<h1>Terms of sale</h1>\r\n";
        body += Paragraph("These terms apply to orders placed through this page. The seller is " +
                          who + ".");
        body += Heading("The offer");
        body += Paragraph(
            "The product and its price are as the page describes them" +
            (price.empty() ? std::string() : " (" + price + ")") + "." +
            (deadline ? " The offer is open until " + DeadlineText(*deadline, values.language) + "."
                      : std::string()));
        body += Heading("Payment and delivery");
        body += Paragraph(clickBank ? "Orders are processed by ClickBank, the retailer of this "
                                      "product, under its terms and refund policy."
                                    : "The order page says how and when the product is "
                                      "delivered.");
        body += Heading("Refunds");
        body += Paragraph("If you are not satisfied, write to " +
                          (seller.email.empty() ? who : seller.email) +
                          ". Your statutory rights are not affected.");
        body += Heading("Results");
    }
    body += Paragraph(results);
    if (const auto disclaimer = TrimBlanks(values.disclaimer); !disclaimer.empty()) {
        body += Paragraph(EscapeText(disclaimer));
    }
    return body;
}

// The template's head, merged with the policy's own title and description.
std::string PolicyHead(std::string_view title, const LetterValues& values,
                       std::string_view templateText) {
    const std::size_t end = FindIgnoringAsciiCase(templateText, "</head>");
    const std::string_view head =
        end == std::string_view::npos ? std::string_view() : templateText.substr(0, end);
    LetterValues own;
    own.pageTitle = std::string(title);
    own.pageDescription = std::string(title);
    // The shipped texts are German or English: a page in English says so, whatever the letter's
    // own language.
    own.language =
        !IsGermanLetter(values.language) && !StartsWithIgnoringAsciiCase(values.language, "en")
            ? std::string("en")
            : values.language;
    own.mainBgColor = values.mainBgColor;
    own.currentDate = values.currentDate;
    const LetterPictures none;
    std::string merged = MergePage(head, {own, none, Html5Writer()});
    if (merged.empty()) {
        // A template without a head still gives a page of its own.
        merged = "<!DOCTYPE html>\r\n<html lang=\"" + EscapeAttribute(values.language) +
                 "\">\r\n<head>\r\n<meta charset=\"utf-8\">\r\n<meta name=\"viewport\" "
                 "content=\"width=device-width, initial-scale=1\">\r\n<title>" +
                 std::string(title) + "</title>\r\n";
    }
    return merged + std::string(kPolicyStyle) + "</head>\r\n";
}

} // namespace

std::string_view PolicyFileName(PolicyKind kind) {
    return kind == PolicyKind::Privacy ? "privacy.html" : "terms.html";
}

std::string ShippedPolicyPage(PolicyKind kind, const LetterValues& values,
                              std::string_view templateText, const std::vector<DataUse>& uses) {
    const SellingWords& words = WordsFor(values.language);
    const bool german = IsGermanLetter(values.language);
    const Seller seller = SellerOf(values, german);
    const std::string_view what = kind == PolicyKind::Privacy ? words.privacy : words.terms;
    const std::string title = std::string(what) + " &ndash; " + seller.name;
    const std::string page = FileNamePart(values.outputFileName);
    std::string text = PolicyHead(title, values, templateText);
    text += "<body>\r\n<main class=\"policy\">\r\n";
    text += kind == PolicyKind::Privacy ? PrivacyBody(values, seller, uses, german)
                                        : TermsBody(values, seller, german);
    text += "<p><a href=\"" + EscapeAttribute(PercentEncode(page.empty() ? "index.html" : page)) +
            "\">" + std::string(words.backToOffer) + "</a></p>\r\n";
    text += "</main>\r\n</body>\r\n</html>\r\n";
    return NormalizeLines(text);
}

} // namespace scribvane
