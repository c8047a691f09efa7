#include "qx/print/print_object.h"

#include <algorithm>

#include "qx/print/formatted_text.h"

namespace qx {

OwnedHtmlLayout::OwnedHtmlLayout() = default;
OwnedHtmlLayout::~OwnedHtmlLayout() = default;
OwnedHtmlLayout::OwnedHtmlLayout(const OwnedHtmlLayout& other)
    : layout_(other.layout_ ? std::make_unique<CHtmlLayout>(*other.layout_) : nullptr) {}
OwnedHtmlLayout& OwnedHtmlLayout::operator=(const OwnedHtmlLayout& other) {
    if (this != &other) layout_ = other.layout_ ? std::make_unique<CHtmlLayout>(*other.layout_) : nullptr;
    return *this;
}
OwnedHtmlLayout::OwnedHtmlLayout(OwnedHtmlLayout&&) noexcept = default;
OwnedHtmlLayout& OwnedHtmlLayout::operator=(OwnedHtmlLayout&&) noexcept = default;
OwnedHtmlLayout& OwnedHtmlLayout::operator=(std::unique_ptr<CHtmlLayout> layout) {
    layout_ = std::move(layout);
    return *this;
}

}  // namespace qx

CPagePart::CPagePart(const CPagePart& other)
    : name(other.name),
      height(other.height),
      repeat(other.repeat),
      splittable(other.splittable),
      breakAfter(other.breakAfter),
      lastSibling(other.lastSibling),
      hasPageWrap(other.hasPageWrap),
      registered(other.registered),
      level(other.level) {
    objects.reserve(other.objects.size());
    for (const auto& object : other.objects) objects.push_back(std::make_unique<PRINTOBJ>(*object));
}

CPagePart& CPagePart::operator=(const CPagePart& other) {
    if (this != &other) *this = CPagePart(other);
    return *this;
}

CPagePart::~CPagePart() = default;

void CPagePart::SortObjectsByTop() {
    std::stable_sort(objects.begin(), objects.end(),
                     [](const auto& a, const auto& b) { return a->top < b->top; });
}
