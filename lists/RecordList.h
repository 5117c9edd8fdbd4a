// A feature or testimonial list as one text: every record followed by CR LF, as config.dat
// stores the list, and where each record ends. A list of thousands of records is then read
// with one copy of its text instead of one string per record (or none, from a file kept
// mapped), and written as that text.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scribvane {

class RecordList {
public:
    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string_view;

        const_iterator() = default;
        std::string_view operator*() const { return (*list_)[index_]; }
        const_iterator& operator++() {
            ++index_;
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator before = *this;
            ++index_;
            return before;
        }
        bool operator==(const const_iterator&) const = default;

    private:
        friend class RecordList;
        const_iterator(const RecordList* list, std::size_t index) : list_(list), index_(index) {}

        const RecordList* list_ = nullptr;
        std::size_t index_ = 0;
    };
    using iterator = const_iterator;
    using value_type = std::string_view;
    using size_type = std::size_t;

    RecordList() = default;
    RecordList(std::initializer_list<std::string_view> records);
    explicit RecordList(const std::vector<std::string>& records);

    // The records of a stored list: every line break (CR LF, lone CR or lone LF) ends a
    // record, a blank line is an empty record, a final line break adds none, and the first
    // NUL ends the text.
    static RecordList FromText(std::string_view text);
    // The same for a text whose every line break is a CR LF, and nothing when it holds a NUL,
    // a lone CR or a lone LF: a reader that keeps a normal text as it stands learns from this
    // whether the list's part of it is normal.
    //
    // With a `keeper`, the list may keep its records where they stand in `text`, which must
    // stay there as long as the keeper lives (a mapped file), instead of copying them.
    static std::optional<RecordList> FromCrLfText(std::string_view text,
                                                  std::shared_ptr<const void> keeper = {});

    // Every record followed by CR LF.
    std::string_view Text() const { return kept_ != nullptr ? kept_text_ : owned_; }

    std::size_t size() const { return ends_.size(); }
    // The bytes of all records together, without their CR LFs.
    std::size_t RecordBytes() const { return Text().size() - 2 * ends_.size(); }
    bool empty() const { return ends_.empty(); }
    std::string_view operator[](std::size_t index) const {
        const std::size_t begin = index == 0 ? 0 : ends_[index - 1] + 2;
        return Text().substr(begin, ends_[index] - begin);
    }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, ends_.size()}; }

    // A record taken as it is; one holding a line break reads back whole from the list, but
    // a file written from it reads back as more records.
    void push_back(std::string_view record);
    void assign(std::size_t count, std::string_view record);
    void clear();

    std::vector<std::string> ToStrings() const;

    // The text and the ends together say which records the list holds, in which order.
    bool operator==(const RecordList& other) const {
        return ends_ == other.ends_ && Text() == other.Text();
    }

private:
    // Copies kept records into the list's own text before it changes.
    std::string& OwnText();

    std::string owned_;
    std::shared_ptr<const void> kept_; // when set, the text is kept_text_, which it keeps alive
    std::string_view kept_text_;
    std::vector<std::size_t> ends_; // where each record's CR LF stands in the text
};

} // namespace scribvane
