// Widths of short texts already measured, per face. Reports measure the same
// labels and values over and over; a hit costs a hash of the text instead of
// shaping it again. Bounded: when full it starts over.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace qx::gfx {

class ExtentCache {
public:
    static constexpr std::size_t kMaxTextLength = 64;
    static constexpr std::size_t kMaxEntries = 16384;

    static bool Caches(std::wstring_view text) { return text.size() <= kMaxTextLength; }
    std::optional<double> Find(int faceId, std::wstring_view text) const;
    void Insert(int faceId, std::wstring_view text, double width);
    void Clear() { widths_.clear(); }

private:
    struct Key {
        int faceId;
        std::wstring text;
    };
    struct KeyView {
        int faceId;
        std::wstring_view text;
    };
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(const KeyView& key) const {
            return std::hash<std::wstring_view>{}(key.text) * 31 + static_cast<std::size_t>(key.faceId);
        }
        std::size_t operator()(const Key& key) const { return (*this)(KeyView{key.faceId, key.text}); }
    };
    struct Equal {
        using is_transparent = void;
        static KeyView View(const Key& key) { return {key.faceId, key.text}; }
        static KeyView View(const KeyView& key) { return key; }
        template <class A, class B>
        bool operator()(const A& a, const B& b) const {
            KeyView x = View(a);
            KeyView y = View(b);
            return x.faceId == y.faceId && x.text == y.text;
        }
    };
    std::unordered_map<Key, double, Hash, Equal> widths_;
};

}  // namespace qx::gfx
