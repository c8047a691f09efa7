#include "qx/print/print_object.h"

#include <algorithm>

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
