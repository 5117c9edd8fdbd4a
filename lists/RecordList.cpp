// Records kept as one text; see RecordList.h.
#include "lists/RecordList.h"

#include "utils/TextHelpers.h"

namespace scribvane {

RecordList::RecordList(std::initializer_list<std::string_view> records) {
    for (const std::string_view record : records) {
        push_back(record);
    }
}

RecordList::RecordList(const std::vector<std::string>& records) {
    std::size_t size = 0;
    for (const auto& record : records) {
        size += record.size() + 2;
    }
    owned_.reserve(size);
    ends_.reserve(records.size());
    for (const auto& record : records) {
        push_back(record);
    }
}

std::optional<RecordList> RecordList::FromCrLfText(std::string_view text,
                                                   std::shared_ptr<const void> keeper) {
    RecordList list;
    if (!FindCrLfLineEnds(text, list.ends_)) {
        return std::nullopt;
    }
    const bool whole = text.empty() || text.ends_with("\r\n");
    if (keeper != nullptr && whole) {
        list.kept_ = std::move(keeper);
        list.kept_text_ = text;
        return list;
    }
    // The text is kept as it is, with the CR LF its last record may lack.
    list.owned_.reserve(text.size() + 2);
    list.owned_.assign(text);
    if (!whole) {
        list.ends_.push_back(text.size());
        list.owned_.append("\r\n");
    }
    return list;
}

RecordList RecordList::FromText(std::string_view text) {
    // A list this program wrote breaks its lines with CR LF only.
    if (auto list = FromCrLfText(text)) {
        return std::move(*list);
    }
    RecordList list;
    for (const auto& line : SplitLines(text)) {
        list.push_back(line);
    }
    return list;
}

std::string& RecordList::OwnText() {
    if (kept_ != nullptr) {
        owned_.assign(kept_text_);
        kept_.reset();
        kept_text_ = {};
    }
    return owned_;
}

void RecordList::push_back(std::string_view record) {
    std::string& text = OwnText();
    text.append(record);
    ends_.push_back(text.size());
    text.append("\r\n");
}

void RecordList::assign(std::size_t count, std::string_view record) {
    clear();
    owned_.reserve(count * (record.size() + 2));
    ends_.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        push_back(record);
    }
}

void RecordList::clear() {
    kept_.reset();
    kept_text_ = {};
    owned_.clear();
    ends_.clear();
}

std::vector<std::string> RecordList::ToStrings() const {
    return {begin(), end()};
}

} // namespace scribvane
