// The feature list and the testimonial tables of a letter, built from the record lists and
// the one style each list has.
#pragma once

#include "generation/LetterValues.h"

#include <string>
#include <string_view>
#include <vector>

namespace scribvane {

class TextSink;

// One framed table per testimonial before it is filled: "%%TBODY%%", "%%TNAME%%" and
// "%%TWEB%%" (twice) stand for the record's fields.
std::string TestimonialBlockTemplate(const BlockStyle& style);

// One list item per feature before it is filled: "%%FTITLE%%" and "%%FDESC%%".
std::string FeatureItemTemplate(const BlockStyle& style);

// The table around all feature items.
std::string FeatureBlock(const BlockStyle& style, std::string_view items);

// Every testimonial's table, each followed by "<br>"; empty for no testimonial. Name, website
// and content are replaced in that order; the content's "$$" become "<br>".
std::string TestimonialsHtml(const RecordList& records, const BlockStyle& style);

// The feature block holding one item per feature, with nothing between the items. Title then
// body are replaced; the body's "$$" become "<br>".
std::string FeaturesHtml(const RecordList& records, const BlockStyle& style);

// What the two texts need at most when no record holds a placeholder (a record that does may
// need more), for a caller that collects a whole letter.
std::size_t TestimonialsHtmlRoom(const RecordList& records, const BlockStyle& style);
std::size_t FeaturesHtmlRoom(const RecordList& records, const BlockStyle& style);

// The same two texts handed to `out` in pieces of some kilobytes, for a merge that never holds
// a whole list of thousands of records.
void WriteTestimonialsHtml(const RecordList& records, const BlockStyle& style, TextSink& out);
void WriteFeaturesHtml(const RecordList& records, const BlockStyle& style, TextSink& out);

} // namespace scribvane
