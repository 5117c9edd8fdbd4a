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
    text_.reserve(size);
    ends_.reserve(records.size());
    for (const auto& record : records) {
        push_back(record);
    }
}

std::optional<RecordList> RecordList::FromCrLfText(std::string_view text) {
    RecordList list;
    if (!FindCrLfLineEnds(text, list.ends_)) {
        return std::nullopt;
    }
    // The text is kept as it is, with the CR LF its last record may lack.
    list.text_.reserve(text.size() + 2);
    list.text_.assign(text);
    if (!text.empty() && !text.ends_with("\r\n")) {
        list.ends_.push_back(text.size());
        list.text_.append("\r\n");
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

void RecordList::push_back(std::string_view record) {
    text_.append(record);
    ends_.push_back(text_.size());
    text_.append("\r\n");
}

void RecordList::assign(std::size_t count, std::string_view record) {
    clear();
    text_.reserve(count * (record.size() + 2));
    ends_.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        push_back(record);
    }
}

void RecordList::clear() {
    text_.clear();
    ends_.clear();
}

std::vector<std::string> RecordList::ToStrings() const {
    return {begin(), end()};
}

} // namespace scribvane
