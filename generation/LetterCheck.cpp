// The letter check; see LetterCheck.h.
#include "generation/LetterCheck.h"

#include "generation/BlockWriter.h"
#include "generation/MergeSteps.h"
#include "generation/PageEncoding.h"
#include "generation/SellingRules.h"
#include "lists/Records.h"
#include "utils/FileIo.h"
#include "utils/TextHelpers.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <unistd.h>

namespace scribvane {
namespace {

// A scheme such as "http:" or "mailto:" before any '/', or a protocol-relative or rooted path.
bool HasScheme(std::string_view text) {
    if (text.starts_with("/") || text.starts_with("#")) {
        return true;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == ':') {
            return i > 1; // "C:" is a drive, not a scheme
        }
        if (std::isalnum(c) == 0 && c != '+' && c != '-' && c != '.') {
            return false;
        }
    }
    return false;
}

bool HasBlank(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; });
}

bool HasQuote(std::string_view text) {
    return text.find_first_of("'\"") != std::string_view::npos;
}

// What ends an unquoted attribute value or the tag itself.
bool BreaksUnquotedValue(std::string_view text) {
    return HasBlank(text) || text.find_first_of("'\"<>") != std::string_view::npos;
}

// A path on this computer, as typed: rooted, home-relative, dotted, with backslashes or a drive.
bool LooksLocal(std::string_view text) {
    if (text.starts_with("//")) {
        return false;
    }
    return text.starts_with("/") || text.starts_with("~") || text.starts_with("./") ||
           text.starts_with("../") || StartsWithIgnoringAsciiCase(text, "file:") ||
           text.find('\\') != std::string_view::npos ||
           (text.size() >= 3 && std::isalpha(static_cast<unsigned char>(text[0])) != 0 &&
            text[1] == ':' && (text[2] == '\\' || text[2] == '/'));
}

// The placeholder a value would bring into the page, if any. Looks only where "%%" is
// followed by a capital, so a run of percent signs costs one look per sign.
std::string_view PlaceholderIn(std::string_view text) {
    static constexpr std::string_view kInner[] = {"%%ORDERLINK%%", "%%CBNAME%%", "%%PRODNAME%%",
                                                  "%%PRODDESC%%"};
    for (std::size_t at = text.find("%%"); at != std::string_view::npos;
         at = text.find("%%", at + 1)) {
        if (at + 2 >= text.size() || std::isupper(static_cast<unsigned char>(text[at + 2])) == 0) {
            continue;
        }
        const std::string_view rest = text.substr(at);
        for (const std::string_view placeholder : PagePlaceholders()) {
            if (rest.starts_with(placeholder)) {
                return placeholder;
            }
        }
        for (const std::string_view placeholder : kInner) {
            if (rest.starts_with(placeholder)) {
                return placeholder;
            }
        }
    }
    return {};
}

double Luminance(ColorValue color) {
    // ColorValue keeps red in the low byte.
    const auto channel = [](unsigned value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(color & 0xFFu) + 0.7152 * channel((color >> 8) & 0xFFu) +
           0.0722 * channel((color >> 16) & 0xFFu);
}

bool IsAlpha(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

bool AllOf(std::string_view text, bool (*test)(char)) {
    return std::all_of(text.begin(), text.end(), test);
}

bool IsAlnum(char c) {
    return IsAlpha(c) || IsDigit(c);
}

// A well-formed language tag: a language of 2-3 (or 5-8) letters with up to three extended
// languages, then an optional script, region, variants, extensions and a private use part;
// or a private use tag alone. Letter case does not matter.
bool IsLanguageTag(std::string_view tag) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t dash = tag.find('-', start);
        parts.push_back(tag.substr(start, dash - start));
        if (dash == std::string_view::npos) {
            break;
        }
        start = dash + 1;
    }
    for (const auto part : parts) {
        if (part.empty() || part.size() > 8 || !AllOf(part, IsAlnum)) {
            return false;
        }
    }
    std::size_t i = 0;
    // "x" takes every part after it, at least one.
    const auto privateUse = [&](std::size_t from) { return from + 1 < parts.size(); };
    if (EqualsIgnoringAsciiCase(parts[0], "x")) {
        return privateUse(0);
    }
    const std::string_view language = parts[i++];
    if (!AllOf(language, IsAlpha) || language.size() == 1 || language.size() == 4) {
        return false;
    }
    for (int extended = 0; extended < 3 && language.size() <= 3 && i < parts.size() &&
                           parts[i].size() == 3 && AllOf(parts[i], IsAlpha);
         ++extended) {
        ++i;
    }
    if (i < parts.size() && parts[i].size() == 4 && AllOf(parts[i], IsAlpha)) {
        ++i; // script
    }
    if (i < parts.size() && ((parts[i].size() == 2 && AllOf(parts[i], IsAlpha)) ||
                             (parts[i].size() == 3 && AllOf(parts[i], IsDigit)))) {
        ++i; // region
    }
    while (i < parts.size() &&
           (parts[i].size() >= 5 || (parts[i].size() == 4 && IsDigit(parts[i][0])))) {
        ++i; // variants
    }
    while (i < parts.size() && parts[i].size() == 1) {
        if (EqualsIgnoringAsciiCase(parts[i], "x")) {
            return privateUse(i);
        }
        const std::size_t singleton = i++;
        while (i < parts.size() && parts[i].size() >= 2) {
            ++i;
        }
        if (i == singleton + 1) {
            return false; // an extension needs at least one part
        }
    }
    return i == parts.size();
}

class Checker {
public:
    Checker(const LetterValues& values, const CheckInput& input)
        : v_(values), input_(input),
          markup_((input.templateText ? WriterForTemplate(*input.templateText) : LegacyWriter())
                      .Markup()) {}

    std::vector<Finding> Run() {
        Template();
        Title();
        Description();
        Pictures();
        findings_.insert(findings_.end(), input_.pictureFindings.begin(),
                         input_.pictureFindings.end());
        Headline();
        Records(v_.features, Tag::Features, 4, false);
        Records(v_.testimonials, Tag::Testimonials, 5, true);
        Contrast(v_.features, v_.featureStyle, Tag::FColor, "feature");
        Contrast(v_.testimonials, v_.testimonialStyle, Tag::TColor, "testimonial");
        Order();
        CheckSellingRules(v_, input_.templateText,
                          std::chrono::duration_cast<std::chrono::seconds>(
                              std::chrono::system_clock::now().time_since_epoch())
                              .count(),
                          findings_);
        Placeholders();
        Encoding();
        if (input_.checkOutput) {
            Output();
        }
        std::stable_sort(findings_.begin(), findings_.end(), [](const auto& a, const auto& b) {
            return static_cast<int>(a.severity) < static_cast<int>(b.severity);
        });
        return std::move(findings_);
    }

private:
    void Add(Severity severity, LetterField field, std::string sentence, std::string action = {}) {
        findings_.push_back({severity, field, std::move(sentence), std::move(action)});
    }

    void Template() {
        if (!input_.templateText) {
            Add(Severity::Error, OptionalTag::Template, "There is no template by this name.",
                "Choose one of the templates on this page.");
        } else if (input_.templateText->empty()) {
            Add(Severity::Error, OptionalTag::Template, "The chosen template gives an empty page.",
                "Choose another template.");
        }
    }

    void Title() {
        if (v_.pageTitle.empty()) {
            Add(Severity::Warning, Tag::PageTitle, "The page has no title.",
                "Type a title; browsers and search results show it.");
        }
    }

    // The page description and language are used by html5 templates.
    void Description() {
        if (!v_.language.empty() && !IsLanguageTag(v_.language)) {
            Add(Severity::Warning, OptionalTag::Language,
                "The letter language is not a language tag.",
                "Write a tag such as \"en\", \"de\" or \"pt-BR\".");
        }
        if (markup_.describesPage && v_.pageDescription.empty() && v_.attention.empty()) {
            Add(Severity::Tip, OptionalTag::PageDescription,
                "The page has no description, and no sub-headline to stand for one.",
                "Describe the offer in a sentence; search results show it under the title.");
        }
    }

    void Headline() {
        if (v_.mainHeadline.empty) {
            Add(Severity::Warning, Tag::prfEditor1, "The letter has no headline.",
                "Write the headline that opens the letter.");
        }
    }

    void Pictures() {
        struct Field {
            LetterField tag;
            const std::string* picture;
            LetterField descriptionTag;
            const std::string* description;
            std::string name; // three pictures: each sentence says which one it means
            std::string The() const { return "The " + name; }
        };
        const Field fields[] = {
            {Tag::HeaderPicture, &v_.headerPicture, OptionalTag::HeaderPictureDescription,
             &v_.headerPictureDescription, "header picture"},
            {Tag::CoverPicture, &v_.coverPicture, OptionalTag::CoverPictureDescription,
             &v_.coverPictureDescription, "cover picture"},
            {Tag::FooterPicture, &v_.footerPicture, OptionalTag::FooterPictureDescription,
             &v_.footerPictureDescription, "footer picture"}};
        const bool copied = v_.placement == PicturePlacement::CopyBeside;
        for (const auto& field : fields) {
            if (markup_.describesPictures && !field.picture->empty() &&
                field.description->empty()) {
                Add(Severity::Warning, field.descriptionTag, field.The() + " has no description.",
                    "Describe the picture for people who cannot see it.");
            }
        }
        std::vector<const Field*> local;
        for (const auto& field : fields) {
            const std::string& picture = *field.picture;
            if (picture.empty()) {
                continue;
            }
            if (IsLocalPicture(picture)) {
                if (::access(PathFromText(picture).c_str(), R_OK) != 0) {
                    Add(Severity::Warning, field.tag, field.The() + " file cannot be read.",
                        "Check that the file may be read; the page will name it but not show it.");
                } else if (copied && !markup_.quotesValues &&
                           BreaksUnquotedValue(FileNamePart(picture))) {
                    Add(Severity::Warning, field.tag,
                        field.The() +
                            "'s file name holds a blank, a quote or a bracket, so the page "
                            "cannot name it.",
                        "Rename the picture file using only letters, digits, '-' and '_'.");
                }
                local.push_back(&field);
                continue;
            }
            if (LooksLocal(picture)) {
                Add(Severity::Warning, field.tag,
                    field.The() +
                        " looks like a file on this computer, but there is no such file; the "
                        "page will use it as a web address.",
                    "Choose the picture file again.");
            } else if (!markup_.quotesValues && BreaksUnquotedValue(picture)) {
                Add(Severity::Warning, field.tag,
                    field.The() +
                        " address holds a blank, a quote or a bracket, which cuts it short.",
                    "Remove them or write a blank as %20.");
            }
        }
        if (!copied) {
            return;
        }
        for (std::size_t i = 0; i < local.size(); ++i) {
            for (std::size_t j = 0; j < i; ++j) {
                std::error_code error;
                if (FileNamePart(*local[i]->picture) == FileNamePart(*local[j]->picture) &&
                    !std::filesystem::equivalent(PathFromText(*local[i]->picture),
                                                 PathFromText(*local[j]->picture), error)) {
                    Add(Severity::Warning, local[i]->tag,
                        local[i]->The() + " has the same file name as the " + local[j]->name +
                            " but is another picture, so one copy replaces the other.",
                        "Rename one of the picture files.");
                }
            }
        }
    }

    void Records(const RecordList& records, LetterField tag, std::size_t fieldCount,
                 bool testimonials) {
        bool split = false;
        bool bareWebsite = false;
        for (const auto& record : records) {
            const auto marks =
                static_cast<std::size_t>(std::count(record.begin(), record.end(), '^'));
            split = split || marks != fieldCount - 1;
            if (testimonials && !bareWebsite && !markup_.completesWebsites) {
                const std::string website = RecordField(record, 2);
                bareWebsite = !website.empty() && !HasScheme(website);
            }
            if (split && (bareWebsite || !testimonials)) {
                break;
            }
        }
        if (split) {
            Add(Severity::Warning, tag,
                std::string(testimonials ? "A testimonial" : "A feature") +
                    " holds a \"^\", which splits it into the wrong parts.",
                "Remove the \"^\" from the entry.");
        }
        if (bareWebsite) {
            Add(Severity::Warning, tag,
                "A testimonial website has no \"http://\" or \"https://\", so its link goes "
                "nowhere.",
                "Write the website with \"https://\" in front.");
        }
        if (testimonials && records.empty()) {
            Add(Severity::Tip, tag, "The letter has no testimonials.",
                "Add what a satisfied customer said; it helps readers trust the offer.");
        }
    }

    void Contrast(const RecordList& records, const BlockStyle& style, LetterField tag,
                  std::string_view what) {
        if (!records.empty() && ContrastRatio(style.color, style.backgroundColor) < 4.5) {
            Add(Severity::Warning, tag,
                "The " + std::string(what) +
                    " text colour is too close to its background to be read easily.",
                "Choose a darker text colour or a lighter background.");
        }
    }

    void Order() {
        if (v_.directLink.empty() && v_.clickBankName.empty() && v_.paypalCode.empty()) {
            Add(Severity::Error, Tag::DirectLink, "The letter has no way to order.",
                "Give a direct order link, a ClickBank account or a PayPal button.");
        }
        // The html5 blocks quote and encode the order values, so none of them can break a link.
        if (!v_.directLink.empty() && !markup_.quotesValues) {
            if (HasQuote(v_.directLink)) {
                Add(Severity::Error, Tag::DirectLink,
                    "The direct link holds a quote, which breaks the order button.",
                    "Remove the quote or write it as %27.");
            } else if (HasBlank(v_.directLink)) {
                Add(Severity::Warning, Tag::DirectLink, "The direct link holds a blank.",
                    "Remove the blank or write it as %20.");
            }
        }
        if (!v_.directLink.empty() && !IsWebAddress(v_.directLink)) {
            Add(Severity::Warning, Tag::DirectLink,
                "The direct link does not start with \"http://\" or \"https://\", so the "
                "button may go nowhere.",
                "Write the whole address of the order page.");
        }
        if (!v_.clickBankName.empty() && !markup_.quotesValues) {
            const struct {
                LetterField tag;
                const std::string* value;
                std::string_view name;
            } parts[] = {{Tag::ClickBankName, &v_.clickBankName, "ClickBank name"},
                         {Tag::ProductName, &v_.productName, "ClickBank product name"},
                         {Tag::Description, &v_.description, "ClickBank description"}};
            for (const auto& part : parts) {
                if (part.value->find_first_of("'\"/?#&% \t\r\n\\<>") != std::string::npos) {
                    Add(Severity::Error, part.tag,
                        "The " + std::string(part.name) +
                            " holds a character that breaks the order address.",
                        "Use only letters, digits, '-' and '_'.");
                }
            }
        }
        if (!v_.paypalCode.empty()) {
            const std::string_view code = v_.paypalCode;
            if (FindIgnoringAsciiCase(code, "<form") == std::string_view::npos) {
                Add(Severity::Error, Tag::PaypalCode, "The PayPal code is not a button form.",
                    "Paste the whole button code PayPal gives, from <form to </form>.");
            } else {
                for (auto at = FindIgnoringAsciiCase(code, "action="); at != std::string_view::npos;
                     at = FindIgnoringAsciiCase(code, "action=", at + 1)) {
                    std::string_view address = code.substr(at + 7);
                    if (!address.empty() && (address[0] == '"' || address[0] == '\'')) {
                        address.remove_prefix(1);
                    }
                    if (StartsWithIgnoringAsciiCase(address, "http:")) {
                        Add(Severity::Warning, Tag::PaypalCode,
                            "The PayPal button sends the order over a plain http address.",
                            "Change the form's action to an https address.");
                        break;
                    }
                }
            }
        }
    }

    void Placeholders() {
        const struct {
            LetterField tag;
            std::string_view value;
            std::string_view name;
        } texts[] = {{Tag::PageTitle, v_.pageTitle, "The page title"},
                     {Tag::FullName, v_.fullName, "The full name"},
                     {Tag::CurrentDate, v_.currentDate, "The date line"},
                     {Tag::Atention, v_.attention, "The sub-headline"},
                     {Tag::prfEditor1, v_.mainHeadline.fragment, "The headline"},
                     {Tag::prfEditor2, v_.introduction.fragment, "The introduction"},
                     {Tag::prfEditor3, v_.productIntroduction.fragment, "The product introduction"},
                     {Tag::prfEditor10, v_.closing.fragment, "The closing statement"},
                     {Tag::prfEditor11, v_.postScript.fragment, "The P.S."},
                     {Tag::DirectLink, v_.directLink, "The direct link"},
                     {Tag::ClickBankName, v_.clickBankName, "The ClickBank name"},
                     {Tag::ProductName, v_.productName, "The ClickBank product name"},
                     {Tag::Description, v_.description, "The ClickBank description"},
                     {Tag::PaypalCode, v_.paypalCode, "The PayPal code"},
                     {Tag::PaypalEmail, v_.paypalEmail, "The PayPal e-mail"}};
        for (const auto& text : texts) {
            PlaceholderFinding(text.tag, text.name, PlaceholderIn(text.value));
        }
        const struct {
            LetterField tag;
            const RecordList* records;
            std::string_view name;
        } lists[] = {{Tag::Features, &v_.features, "A feature"},
                     {Tag::Testimonials, &v_.testimonials, "A testimonial"}};
        for (const auto& list : lists) {
            for (const auto& record : *list.records) {
                if (const auto found = PlaceholderIn(record); !found.empty()) {
                    PlaceholderFinding(list.tag, list.name, found);
                    break;
                }
            }
        }
    }

    void PlaceholderFinding(LetterField tag, std::string_view name, std::string_view placeholder) {
        if (!placeholder.empty()) {
            Add(Severity::Warning, tag,
                std::string(name) + " holds " + std::string(placeholder) +
                    ", which the letter replaces with another value.",
                "Remove it or change one of its percent signs.");
        }
    }

    void Output() {
        const std::string& name = v_.outputFileName;
        if (name.empty()) {
            Add(Severity::Error, LetterField::Output(), "No output file is chosen.",
                "Choose where to save the letter.");
            return;
        }
        const std::string file = FileNamePart(name);
        const auto dot = file.rfind('.');
        const std::string_view extension =
            dot == std::string::npos ? std::string_view() : std::string_view(file).substr(dot);
        const auto is = [&](std::string_view wanted) {
            return extension.size() == wanted.size() &&
                   StartsWithIgnoringAsciiCase(extension, wanted);
        };
        if (!is(".html") && !is(".htm")) {
            Add(Severity::Warning, LetterField::Output(),
                "The output file name does not end in .html or .htm.",
                "Add .html so that browsers open it as a page.");
        }
        const std::string folderText = FolderPart(name);
        const std::filesystem::path folder =
            folderText.empty() ? std::filesystem::path(".") : PathFromText(folderText);
        std::error_code error;
        if (!std::filesystem::is_directory(folder, error)) {
            Add(Severity::Error, LetterField::Output(), "The output folder does not exist.",
                "Choose an existing folder.");
        } else if (::access(folder.c_str(), W_OK) != 0) {
            Add(Severity::Error, LetterField::Output(), "The output folder cannot be written to.",
                "Choose a folder you may write to.");
        }
    }

    // A Windows-1252 page shows its accented letters right only where the host sends no
    // charset of its own; most send UTF-8. References are ASCII and show right everywhere.
    void Encoding() {
        if (!input_.templateText || input_.templateText->empty() ||
            PageEncodingOf(*input_.templateText) == PageEncoding::Utf8) {
            return;
        }
        const auto beyondAscii = [](std::string_view text) {
            return std::any_of(text.begin(), text.end(), [](char c) { return (c & 0x80) != 0; });
        };
        const auto passageBeyond = [&](const Passage& passage) {
            return !passage.empty && beyondAscii(passage.fragment);
        };
        const std::string_view texts[] = {*input_.templateText,  v_.pageTitle,   v_.fullName,
                                          v_.currentDate,        v_.attention,   v_.directLink,
                                          v_.clickBankName,      v_.productName, v_.description,
                                          v_.paypalCode,         v_.paypalEmail, v_.features.Text(),
                                          v_.testimonials.Text()};
        if (std::any_of(std::begin(texts), std::end(texts), beyondAscii) ||
            passageBeyond(v_.mainHeadline) || passageBeyond(v_.introduction) ||
            passageBeyond(v_.productIntroduction) || passageBeyond(v_.closing) ||
            passageBeyond(v_.postScript)) {
            Add(Severity::Warning, OptionalTag::Template,
                "The page holds letters beyond ASCII but its template does not declare UTF-8, so "
                "hosts that send UTF-8 will show them wrong.",
                "Choose a template that declares UTF-8.");
        }
    }

    const LetterValues& v_;
    const CheckInput& input_;
    const BlockWriter::Traits markup_;
    std::vector<Finding> findings_;
};

} // namespace

std::string_view SeverityName(Severity severity) {
    switch (severity) {
    case Severity::Error:
        return "error";
    case Severity::Warning:
        return "warning";
    case Severity::Tip:
        return "tip";
    }
    return "tip";
}

double ContrastRatio(ColorValue first, ColorValue second) {
    const double a = Luminance(first);
    const double b = Luminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

std::vector<Finding> CheckLetter(const LetterValues& values, const CheckInput& input) {
    return Checker(values, input).Run();
}

bool HasError(const std::vector<Finding>& findings) {
    return std::any_of(findings.begin(), findings.end(),
                       [](const Finding& f) { return f.severity == Severity::Error; });
}

} // namespace scribvane
