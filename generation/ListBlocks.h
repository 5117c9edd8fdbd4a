// The feature list and the testimonial tables of a letter, built from the record lists and
// the one style each list has.
#pragma once

#include "generation/LetterValues.h"

#include <string>
#include <string_view>
#include <vector>

namespace scribvane {

// One framed table per testimonial before it is filled: "%%TBODY%%", "%%TNAME%%" and
// "%%TWEB%%" (twice) stand for the record's fields.
std::string TestimonialBlockTemplate(const BlockStyle& style);

// One list item per feature before it is filled: "%%FTITLE%%" and "%%FDESC%%".
std::string FeatureItemTemplate(const BlockStyle& style);

// The table around all feature items.
std::string FeatureBlock(const BlockStyle& style, std::string_view items);

// Every testimonial's table, each followed by "<br>"; empty for no testimonial. Name, website
// and content are replaced in that order; the content's "$$" become "<br>". `extraRoom` is
// reserved beyond the text, for a caller that puts more around it (the merge makes the list
// its page when the list is most of it).
std::string TestimonialsHtml(const std::vector<std::string>& records, const BlockStyle& style,
                             std::size_t extraRoom = 0);

// The feature block holding one item per feature, with nothing between the items. Title then
// body are replaced; the body's "$$" become "<br>".
std::string FeaturesHtml(const std::vector<std::string>& records, const BlockStyle& style,
                         std::size_t extraRoom = 0);

// What the two texts above need at most when no record holds a placeholder; a record that
// does may need more.
std::size_t TestimonialsHtmlRoom(const std::vector<std::string>& records, const BlockStyle& style);
std::size_t FeaturesHtmlRoom(const std::vector<std::string>& records, const BlockStyle& style);

} // namespace scribvane
