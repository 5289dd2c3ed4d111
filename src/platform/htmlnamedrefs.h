#pragma once
// The table of HTML's named character references ("&copy;", "&copy", "&NotEqual;"),
// for the reference decoder of textutil.h.
#include <span>

namespace rr
{

struct HtmlNamedReference {
    const char *name; // without the "&"; with the ";" when the reference has one
    char32_t first;
    char32_t second; // 0 for the references that stand for one character
};

// Every reference, sorted by the bytes of its name.
std::span<const HtmlNamedReference> htmlNamedReferences();

} // namespace rr
