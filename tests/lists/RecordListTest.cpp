// A record list kept as one text: read from a stored text, with or without copying it, and
// changed afterwards.
#include "lists/RecordList.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace scribvane {
namespace {

using namespace std::string_view_literals;

// Every way of reading a stored list gives the records SplitLines would, and the text as
// the file writes it.
TEST(RecordList, ReadsTheRecordsOfAStoredText) {
    const struct {
        std::string_view text;
        RecordList records;
    } cases[] = {
        {"", {}},
        {"\r\n", {""}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb\rc\r\n", {"a", "b", "c"}},
        {"a\r\nb\0c\r\n"sv, {"a", "b"}},
    };
    for (const auto& [text, records] : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(text)));
        const auto keeper = std::make_shared<const std::string>(text);
        const auto kept = RecordList::FromCrLfText(*keeper, keeper);
        EXPECT_EQ(RecordList::FromText(text), records);
        EXPECT_EQ(RecordList::FromText(text).Text(), records.Text());
        if (kept) {
            EXPECT_EQ(*kept, records);
        }
    }
}

// A list that keeps its records in another text copies them before it changes, so the text
// may go and the records stay.
TEST(RecordList, ChangingAKeptListCopiesItsRecords) {
    auto keeper = std::make_shared<const std::string>("^a^b^\r\n^c^d^\r\n");
    auto list = RecordList::FromCrLfText(*keeper, keeper);
    ASSERT_TRUE(list);
    EXPECT_EQ(list->Text().data(), keeper->data());
    const std::weak_ptr<const std::string> watched = keeper;
    keeper.reset();
    list->push_back("^e^f^");
    EXPECT_TRUE(watched.expired());
    EXPECT_EQ(*list, (RecordList{"^a^b^", "^c^d^", "^e^f^"}));
}

} // namespace
} // namespace scribvane
