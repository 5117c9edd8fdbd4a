// The feature and testimonial entries of the generation benchmarks, shared with the tool that
// writes a large configuration for whole-process timing.
#pragma once

#include "lists/RecordList.h"
#include "lists/Records.h"

#include <cstdint>
#include <string>
#include <vector>

namespace scribvane::bench {

inline RecordList Features(std::int64_t count) {
    RecordList records;
    for (std::int64_t i = 0; i < count; ++i) {
        records.push_back(MakeFeatureRecord("Feature title " + std::to_string(i),
                                            "A body of two lines\r\nwith some words in it"));
    }
    return records;
}

inline RecordList Testimonials(std::int64_t count) {
    RecordList records;
    for (std::int64_t i = 0; i < count; ++i) {
        records.push_back(MakeTestimonialRecord("Customer " + std::to_string(i),
                                                "http://customer.test/",
                                                "Great product.\r\nWould buy again."));
    }
    return records;
}

} // namespace scribvane::bench
