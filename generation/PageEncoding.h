// Which encoding a letter is written in. A template that declares UTF-8 gets its page in
// UTF-8, because most web hosts send "charset=utf-8" and that header overrides what a page
// says; every other template gets its page in Windows-1252, byte for byte as merged.
#pragma once

#include "utils/TextSink.h"

#include <string>
#include <string_view>

namespace scribvane {

enum class PageEncoding { Windows1252, Utf8 };

// UTF-8 when the first 1024 bytes hold a <meta> tag whose charset (its own attribute or the
// "charset=" of an http-equiv Content-Type) names utf-8, in any letter case; else Windows-1252.
// Browsers read the declaration from the same first 1024 bytes.
PageEncoding PageEncodingOf(std::string_view templateText);

// A template that declares UTF-8 and is valid UTF-8 (as an editor saving such a template
// writes it) is read as UTF-8, characters the code page cannot hold becoming references, so
// its text joins the letter's Windows-1252 texts; any other template is used as it stands.
std::string TemplateTextAsAnsi(std::string text);

// Hands on Windows-1252 pieces as UTF-8 (references stay as they are: browsers show them).
class Utf8Sink final : public TextSink {
public:
    explicit Utf8Sink(TextSink& next) : next_(next) {}
    void Put(std::string_view text) override;

private:
    TextSink& next_;
    std::string converted_;
};

} // namespace scribvane
