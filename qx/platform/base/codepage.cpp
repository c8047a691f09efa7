#include "qx/platform/base/codepage.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "qx/platform/base/internal/codepage_source.h"
#include "qx/platform/base/unicode.h"
#include "qx/platform/base/utf.h"

namespace qx {
namespace {

constexpr unsigned kDefaultAnsiCodePage = 1252;
constexpr unsigned kDefaultOemCodePage = 850;

// The 8-bit code pages, in the order of their table slots.
constexpr std::array<unsigned, 11> kSingleByteCodePages = {
    1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258, 437, 850};

// Index of *cp* in kSingleByteCodePages, or -1.
int SingleByteSlot(unsigned cp) {
    const auto* it = std::find(kSingleByteCodePages.begin(), kSingleByteCodePages.end(), cp);
    return it == kSingleByteCodePages.end() ? -1 : static_cast<int>(it - kSingleByteCodePages.begin());
}

// Below U+0300, where the combining marks begin, a character never changes in
// NFC and never combines with the one before it.
constexpr char32_t kFirstComposable = 0x300;

// Composition is local: it reaches back to the last character that nothing
// can combine with. Composing only the stretches around characters that may
// combine, instead of the whole text, keeps a 100 MB file with a few
// decomposed accents at table speed. Stretches closer than this are composed
// together, so that text dense with marks costs a few large calls rather than
// one call per mark.
constexpr size_t kMinGapBetweenStretches = 256;

// The combining diacritics that compose with Latin letters; 1258 carries the
// Vietnamese tone marks among them as bytes of their own.
bool IsLatinCombiningMark(char32_t c) { return c >= 0x300 && c <= 0x36F; }

// Code points that no UTF form can carry (wchar_t holds UTF-32 here).
bool IsUnencodable(wchar_t ch) {
    auto c = static_cast<char32_t>(ch);
    return c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF);
}

}  // namespace

namespace detail {

// One 8-bit code page in both directions, built once from the platform's
// converter and then read by any number of threads.
class SingleByteTable {
public:
    explicit SingleByteTable(unsigned cp);

    std::wstring Decode(std::string_view bytes) const;
    // The table, when decoding *bytes* piece by piece gives what Decode
    // gives for the whole: no byte of them composes with what precedes it.
    const wchar_t* WideningTable(std::string_view bytes) const;
    // Composes *text* (NFC) and appends its bytes to *out*.
    void Encode(std::wstring_view text, std::string& out, bool* lossy) const;

private:
    // A character the page has only as a base letter followed by a mark.
    struct Composite {
        char32_t ch;
        unsigned char base;
        unsigned char mark;
    };

    // The byte for *c*, or -1. Two levels (high byte, low byte) keep the
    // lookup constant-time in a few kilobytes: a page touches only a handful
    // of Unicode blocks.
    int ToByte(char32_t c) const {
        if (c > 0xFFFF) return -1;
        return blocks_[blockOf_[c >> 8]][c & 0xFF];
    }
    // Adds c -> byte unless c already has a byte: the first mapping wins.
    void Map(char32_t c, unsigned char byte);
    void FindComposingBytes();
    void CollectComposites(const std::array<bool, 256>& defined);
    const Composite* FindComposite(char32_t c) const;

    // True when NFC leaves *c* as it is and never combines it with what comes
    // before it: U+0000-U+02FF, and the page's characters that compose with
    // no character of the page.
    bool IsStable(wchar_t c) const {
        auto u = static_cast<char32_t>(c);
        if (u < kFirstComposable) return true;
        int b = ToByte(u);
        return b >= 0 && !composes_[static_cast<size_t>(b)];
    }
    std::wstring ComposeUnstableStretches(std::wstring_view text) const;
    void EncodeComposed(std::wstring_view composed, std::string& out, bool* lossy) const;

    std::array<wchar_t, 256> toWide_{};
    std::array<bool, 256> composes_{};
    std::array<std::uint8_t, 256> blockOf_{};             // 0: the empty block
    std::vector<std::array<std::int16_t, 256>> blocks_;  // -1: no byte
    std::vector<Composite> composites_;                  // sorted by ch
};

SingleByteTable::SingleByteTable(unsigned cp) {
    // Without a converter for the page every high byte stays undefined, which
    // reads it as Latin-1 and writes only ASCII.
    std::array<char32_t, 128> highHalf;
    highHalf.fill(detail::kUndefinedByte);
    detail::LoadCodePageHighHalf(cp, highHalf);

    blocks_.emplace_back().fill(-1);
    std::array<bool, 256> defined{};
    for (unsigned b = 0; b < 256; ++b) {
        char32_t c = b < 0x80 ? b : highHalf[b - 0x80];
        defined[b] = c != detail::kUndefinedByte;
        toWide_[b] = static_cast<wchar_t>(defined[b] ? c : b);
        if (defined[b]) Map(c, static_cast<unsigned char>(b));
    }
    // An undefined byte in 0x80-0x9F reads as a C1 control character, which
    // none of these pages assigns elsewhere; writing it back to its byte lets
    // such bytes survive a round trip, as they do on Windows. Other undefined
    // bytes (0xD9 in 1255 reads as U+00D9) stand for characters the page does
    // not have, so those characters are not written as them.
    for (unsigned b = 0x80; b < 0xA0; ++b) {
        if (!defined[b]) Map(b, static_cast<unsigned char>(b));
    }
    FindComposingBytes();
    CollectComposites(defined);
}

// A byte composes when its character, next to some character of the page on
// either side, makes text that NFC changes: the tone marks of 1258, the
// Hebrew points of 1255 (which NFC puts in canonical order), the Arabic
// vowel marks of 1256. One probe per character pairs it with all 256 at once.
void SingleByteTable::FindComposingBytes() {
    for (unsigned b = 0x80; b < 256; ++b) {
        const wchar_t c = toWide_[b];
        if (static_cast<char32_t>(c) < kFirstComposable) continue;
        std::wstring probe(1, c);
        for (wchar_t neighbour : toWide_) {
            probe += neighbour;
            probe += c;
        }
        composes_[b] = ComposeNfc(probe) != probe;
    }
}

void SingleByteTable::Map(char32_t c, unsigned char byte) {
    if (c > 0xFFFF || ToByte(c) >= 0) return;
    std::uint8_t& block = blockOf_[c >> 8];
    if (block == 0) {
        block = static_cast<std::uint8_t>(blocks_.size());
        blocks_.emplace_back().fill(-1);
    }
    blocks_[block][c & 0xFF] = byte;
}

// Vietnamese text in 1258 writes most letters as a base letter and a tone
// mark, since the page has room for only a few precomposed ones. Every pair of
// a byte and a mark byte that composes into a character without a byte of its
// own becomes a way to write that character.
void SingleByteTable::CollectComposites(const std::array<bool, 256>& defined) {
    std::vector<unsigned char> marks;
    for (unsigned b = 0x80; b < 256; ++b) {
        if (defined[b] && IsLatinCombiningMark(static_cast<char32_t>(toWide_[b]))) {
            marks.push_back(static_cast<unsigned char>(b));
        }
    }
    if (marks.empty()) return;
    for (unsigned base = 0; base < 256; ++base) {
        if (!defined[base]) continue;
        for (unsigned char mark : marks) {
            const wchar_t pair[] = {toWide_[base], toWide_[mark]};
            std::wstring composed = ComposeNfc(std::wstring_view(pair, 2));
            auto c = static_cast<char32_t>(composed[0]);
            if (composed.size() == 1 && ToByte(c) < 0) {
                composites_.push_back({c, static_cast<unsigned char>(base), mark});
            }
        }
    }
    auto byChar = [](const Composite& a, const Composite& b) { return a.ch < b.ch; };
    std::stable_sort(composites_.begin(), composites_.end(), byChar);
    auto sameChar = [](const Composite& a, const Composite& b) { return a.ch == b.ch; };
    composites_.erase(std::unique(composites_.begin(), composites_.end(), sameChar), composites_.end());
}

const SingleByteTable::Composite* SingleByteTable::FindComposite(char32_t c) const {
    auto it = std::lower_bound(composites_.begin(), composites_.end(), c,
                               [](const Composite& entry, char32_t key) { return entry.ch < key; });
    return (it != composites_.end() && it->ch == c) ? &*it : nullptr;
}

std::wstring SingleByteTable::ComposeUnstableStretches(std::wstring_view text) const {
    std::wstring out;
    out.reserve(text.size());
    size_t done = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (IsStable(text[i])) continue;
        // The stretch starts at the stable character before (a mark composes
        // with it) and ends before a stable one that is followed by a long
        // enough stable run.
        size_t start = i > done ? i - 1 : i;
        size_t end = i + 1;
        for (;;) {
            while (end < text.size() && !IsStable(text[end])) ++end;
            size_t next = end;
            while (next < text.size() && next - end < kMinGapBetweenStretches && IsStable(text[next])) ++next;
            if (next == text.size() || next - end == kMinGapBetweenStretches) break;
            end = next;
        }
        out.append(text.substr(done, start - done));
        out += ComposeNfc(text.substr(start, end - start));
        done = end;
        i = end;  // text[end] is stable (or the end): the loop's ++i may skip it
    }
    out.append(text.substr(done));
    return out;
}

std::wstring SingleByteTable::Decode(std::string_view bytes) const {
    std::wstring out(bytes.size(), L'\0');
    wchar_t* o = out.data();
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* end = p + bytes.size();
    bool composing = false;
    while (p != end) {
        // Every supported page is ASCII below 0x80: those runs, the bulk of
        // most files, widen without the table.
        for (; p != end && *p < 0x80; ++p) *o++ = static_cast<wchar_t>(*p);
        for (; p != end && *p >= 0x80; ++p) {
            composing |= composes_[*p];
            *o++ = toWide_[*p];
        }
    }
    if (composing) return ComposeUnstableStretches(out);
    return out;
}

const wchar_t* SingleByteTable::WideningTable(std::string_view bytes) const {
    // Most pages have no composing byte at all; the others need a look at
    // the high bytes, skipping ASCII eight bytes at a time.
    if (std::none_of(composes_.begin(), composes_.end(), [](bool b) { return b; })) return toWide_.data();
    size_t i = 0;
    while (i < bytes.size()) {
        std::uint64_t word;
        if (bytes.size() - i >= sizeof word) {
            std::memcpy(&word, bytes.data() + i, sizeof word);
            if ((word & 0x8080808080808080ull) == 0) {
                i += sizeof word;
                continue;
            }
        }
        if (composes_[static_cast<unsigned char>(bytes[i])]) return nullptr;
        ++i;
    }
    return toWide_.data();
}

void SingleByteTable::Encode(std::wstring_view text, std::string& out, bool* lossy) const {
    if (std::all_of(text.begin(), text.end(), [this](wchar_t c) { return IsStable(c); })) {
        EncodeComposed(text, out, lossy);
    } else {
        EncodeComposed(ComposeUnstableStretches(text), out, lossy);
    }
}

void SingleByteTable::EncodeComposed(std::wstring_view composed, std::string& out, bool* lossy) const {
    size_t o = out.size();
    out.resize(o + composed.size());
    for (wchar_t ch : composed) {
        auto c = static_cast<char32_t>(ch);
        if (c < 0x80) {
            out[o++] = static_cast<char>(c);
            continue;
        }
        if (int b = ToByte(c); b >= 0) {
            out[o++] = static_cast<char>(b);
        } else if (const Composite* pair = FindComposite(c)) {
            out.resize(out.size() + 1);  // two bytes for one character
            out[o++] = static_cast<char>(pair->base);
            out[o++] = static_cast<char>(pair->mark);
        } else {
            out[o++] = '?';
            if (lossy) *lossy = true;
        }
    }
    out.resize(o);
}

}  // namespace detail

namespace {

using detail::SingleByteTable;

// Reads a default code page from the environment: a decimal 8-bit code page or
// 65001; anything else leaves the default.
unsigned CodePageFromEnvironment(const char* name, unsigned fallback) {
    const char* value = std::getenv(name);
    if (!value) return fallback;
    std::string_view text(value);
    unsigned cp = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), cp);
    if (error != std::errc() || end != text.data() + text.size()) return fallback;
    return (SingleByteSlot(cp) >= 0 || cp == kCpUtf8) ? cp : fallback;
}

// Owns the process-wide code page state: the defaults read from the
// environment (resettable) and the tables (built once per page on first use;
// they depend on nothing a test can change, so they are never rebuilt).
class CodePageRegistry {
public:
    // Never destroyed: text may still be converted by other objects' static
    // destructors at exit.
    static CodePageRegistry& Instance() {
        static auto* registry = new CodePageRegistry;
        return *registry;
    }

    unsigned Ansi() { return Default(ansi_, "QX_ACP", kDefaultAnsiCodePage); }
    unsigned Oem() { return Default(oem_, "QX_OEMCP", kDefaultOemCodePage); }
    void ResetDefaults() {
        ansi_.store(0);
        oem_.store(0);
    }

    // *slot* is a valid SingleByteSlot().
    const SingleByteTable& Table(int slot) {
        Slot& entry = tables_[static_cast<size_t>(slot)];
        std::call_once(entry.once, [&] {
            entry.table = std::make_unique<SingleByteTable>(kSingleByteCodePages[static_cast<size_t>(slot)]);
        });
        return *entry.table;
    }

private:
    struct Slot {
        std::once_flag once;
        std::unique_ptr<const SingleByteTable> table;
    };

    // 0 (never a resolved code page) means "not read yet". Two threads that
    // both find it unread read the same environment and store the same value.
    static unsigned Default(std::atomic<unsigned>& cached, const char* name, unsigned fallback) {
        unsigned cp = cached.load();
        if (cp == 0) {
            cp = CodePageFromEnvironment(name, fallback);
            cached.store(cp);
        }
        return cp;
    }

    std::atomic<unsigned> ansi_{0};
    std::atomic<unsigned> oem_{0};
    std::array<Slot, kSingleByteCodePages.size()> tables_;
};

// The concrete code page *cp* stands for: the defaults for 0 and 1, the
// default 8-bit page for anything unsupported.
unsigned Resolve(unsigned cp) {
    if (cp == kCpOemCp) return OemCodePage();
    if (cp == kCpAcp || !IsCodePageSupported(cp)) return AnsiCodePage();
    return cp;
}

}  // namespace

unsigned AnsiCodePage() { return CodePageRegistry::Instance().Ansi(); }

unsigned OemCodePage() { return CodePageRegistry::Instance().Oem(); }

void ResetCodePageDefaults() { CodePageRegistry::Instance().ResetDefaults(); }

bool IsCodePageSupported(unsigned cp) {
    return cp == kCpAcp || cp == kCpOemCp || cp == kCpUtf8 || cp == kCpUtf16Le || cp == kCpUtf16Be ||
           SingleByteSlot(cp) >= 0;
}

std::string WideToCodePage(std::wstring_view text, unsigned cp, bool* lossy) {
    if (lossy) *lossy = false;
    cp = Resolve(cp);
    if (cp == kCpUtf8 || cp == kCpUtf16Le || cp == kCpUtf16Be) {
        if (lossy) *lossy = std::any_of(text.begin(), text.end(), IsUnencodable);
        return cp == kCpUtf8 ? WideToUtf8(text) : WideToUtf16Bytes(text, cp == kCpUtf16Be);
    }
    std::string bytes;
    CodePageRegistry::Instance().Table(SingleByteSlot(cp)).Encode(text, bytes, lossy);
    return bytes;
}

std::wstring CodePageToWide(std::string_view bytes, unsigned cp) {
    cp = Resolve(cp);
    if (cp == kCpUtf8) return Utf8ToWide(bytes);
    if (cp == kCpUtf16Le || cp == kCpUtf16Be) return Utf16BytesToWide(bytes, cp == kCpUtf16Be);
    return CodePageRegistry::Instance().Table(SingleByteSlot(cp)).Decode(bytes);
}

const wchar_t* WideningTable(std::string_view bytes, unsigned cp) {
    cp = Resolve(cp);
    if (SingleByteSlot(cp) < 0) return nullptr;
    return CodePageRegistry::Instance().Table(SingleByteSlot(cp)).WideningTable(bytes);
}

CodePageWriter::CodePageWriter(unsigned cp) : cp_(Resolve(cp)) {
    if (SingleByteSlot(cp_) >= 0) table_ = &CodePageRegistry::Instance().Table(SingleByteSlot(cp_));
}

void CodePageWriter::Append(std::wstring_view text, std::string& out, bool* lossy) const {
    if (table_) {
        table_->Encode(text, out, lossy);
        return;
    }
    if (lossy && std::any_of(text.begin(), text.end(), IsUnencodable)) *lossy = true;
    if (cp_ == kCpUtf8) {
        AppendUtf8(text, out);
    } else {
        out += WideToUtf16Bytes(text, cp_ == kCpUtf16Be);
    }
}

}  // namespace qx
