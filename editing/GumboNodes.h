// Small questions about gumbo's parse tree that the serializer and the paste cleaner share.
#pragma once

#include <algorithm>
#include <gumbo.h>
#include <initializer_list>

namespace scribvane {

inline bool IsOneOf(GumboTag tag, std::initializer_list<GumboTag> tags) {
    return std::find(tags.begin(), tags.end(), tag) != tags.end();
}

inline bool IsHtmlElement(const GumboNode* node) {
    return node->type == GUMBO_NODE_ELEMENT &&
           node->v.element.tag_namespace == GUMBO_NAMESPACE_HTML;
}

} // namespace scribvane
