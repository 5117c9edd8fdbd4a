// Integer and boolean readers of configuration values.
#include "utils/ValueReaders.h"

#include "utils/Errors.h"

#include <gtest/gtest.h>

namespace scribvane {
namespace {

TEST(ReadInteger, AcceptsDecimalAndHexadecimalForms) {
    const std::vector<std::pair<std::string, std::int32_t>> cases = {
        {"13", 13},
        {"0", 0},
        {"-5", -5},
        {"+7", 7},
        {"  42", 42},
        {"$1A", 26},
        {"0x1A", 26},
        {"0X1a", 26},
        {"-$10", -16},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"$7FFFFFFF", 2147483647},
        {"007", 7},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(ReadInteger(text), expected) << "input: " << text;
    }
}

TEST(ReadInteger, RejectsEverythingElseWithTheIntegerMessage) {
    for (const std::string& text : std::vector<std::string>{
             "", " ", "abc", "12 ", "1.5", "2147483648", "-2147483649", "$80000000", "0x", "$",
             "- 1", "+", "1e3", "\t1", "12a", "0x-1"}) {
        try {
            ReadInteger(text);
            ADD_FAILURE() << "accepted: " << text;
        } catch (const ConversionError& error) {
            EXPECT_EQ(error.what(), "'" + text + "' is not a valid integer value");
        }
    }
}

TEST(ReadBoolean, NumbersAndTrueFalseInAnyCase) {
    const std::vector<std::pair<std::string, bool>> cases = {
        {"-1", true},   {"0", false},     {"1", true},      {"$10", true}, {"true", true},
        {"TRUE", true}, {"False", false}, {"fAlSe", false}, {" 0", false},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(ReadBoolean(text), expected) << "input: " << text;
    }
}

TEST(ReadBoolean, RejectsEverythingElseWithTheBooleanMessage) {
    for (const std::string& text :
         std::vector<std::string>{"", "yes", "no", " true", "true ", "T", "on"}) {
        try {
            ReadBoolean(text);
            ADD_FAILURE() << "accepted: " << text;
        } catch (const ConversionError& error) {
            EXPECT_EQ(error.what(), "'" + text + "' is not a valid boolean value");
        }
    }
}

TEST(ValueTexts, WrittenFormsReadBack) {
    for (const std::int32_t value : {0, 13, -13, 2147483647, -2147483647 - 1}) {
        EXPECT_EQ(ReadInteger(IntegerText(value)), value);
    }
    EXPECT_EQ(BooleanText(true), "-1");
    EXPECT_EQ(BooleanText(false), "0");
    EXPECT_TRUE(ReadBoolean(BooleanText(true)));
    EXPECT_FALSE(ReadBoolean(BooleanText(false)));
}

} // namespace
} // namespace scribvane
