// Reading the text form of tree items.
//
// One reader serves three kinds of input: wide text, UTF-8 bytes and 8-bit
// bytes with a widening table (qx/tree/internal/text_source.h). Every
// character the form gives a meaning ('[', ']', '<', '>', '/', line ends, an
// ASCII separator) is ASCII, so the byte readers find the structure in the bytes themselves and widen only
// names and values, straight into the items. A file is then never held as
// a whole in wide text, which on Linux is four bytes a character.
//
// The reader keeps its own stack of open nodes instead of recursing: a
// deeply nested document costs heap, never the call stack.

#include "qx/tree/internal/tree_reader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "qx/platform/base/codepage.h"
#include "qx/tree/exc.h"
#include "qx/text/text_codec.h"
#include "qx/tree/internal/item_memory.h"
#include "qx/tree/internal/name_pool.h"
#include "qx/tree/internal/packed_leaf.h"
#include "qx/tree/internal/text_source.h"
#include "qx/tree/node.h"

namespace {

[[noreturn]] void Fail(const wchar_t* message) { throw CExcRead(message); }

using qx::detail::FindStop;
using qx::detail::TableSource;
using qx::detail::Utf8Source;
using qx::detail::WideSource;

// A leaf holding the text from *begin* to *end* as its value: wide text as
// it is, bytes in their compact form, widened when first asked for.
CLeaf* NewLeaf(const WideSource&, const wchar_t* begin, const wchar_t* end) {
    auto* leaf = new CLeaf;
    if (begin != end) leaf->SetRawData(CString(std::wstring(begin, end)));
    return leaf;
}

CLeaf* NewPackedLeaf(const char* begin, const char* end, const wchar_t* widening) {
    if (begin == end) return new CLeaf;
    return qx::detail::PackedLeaf::New(std::string_view(begin, static_cast<size_t>(end - begin)), widening);
}

CLeaf* NewLeaf(const Utf8Source&, const char* begin, const char* end) { return NewPackedLeaf(begin, end, nullptr); }
CLeaf* NewLeaf(const TableSource& source, const char* begin, const char* end) {
    return NewPackedLeaf(begin, end, source.table);
}

template <typename Source>
class Reader {
public:
    using Unit = typename Source::Unit;

    // *end*: where the text's terminating zero stands, or null when unknown.
    Reader(const Source& source, const Unit* text, const Unit* end, wchar_t separator)
        : source_(source), p_(text), end_(end), separator_(static_cast<Unit>(separator)) {}

    const Unit* Position() const { return p_; }

    // One node with everything inside it, appended to what *root* holds.
    void ReadNode(CNode& root) {
        std::vector<Frame> open;
        open.push_back(ReadStartTag(root));
        while (!open.empty()) {
            const Frame top = open.back();
            SkipSpace();
            if (!*p_) Fail(qx::kReadErrorLeafIncomplete);
            if (top.xml ? StartsWith("</") : StartsWith("[ENDE_")) {
                p_ += top.xml ? 2 : 6;
                ReadEndTag(top);
                open.pop_back();
            } else if (*p_ == (top.xml ? '<' : '[')) {
                // The child belongs to the tree before it is read, so that a
                // read error leaves a partly read tree the caller can delete.
                CNode* child = top.node->AddChild(new CNode);
                open.push_back(ReadStartTag(*child));
            } else {
                ReadLeafInto(*top.node, top.xml);
            }
        }
    }

    // One leaf line of the bracket form.
    void ReadLeaf(CLeaf& leaf) {
        SkipSpace();
        if (!*p_) Fail(qx::kReadErrorLeafIncomplete);
        LeafText text;
        if (!ScanBracketLeaf(text)) Fail(qx::kReadErrorLeafIncomplete);
        SetName(leaf, text.name, text.nameEnd);
        if (text.hasValue) {
            std::wstring value;
            source_.Widen(text.value, text.valueEnd, value);
            leaf.SetRawData(CString(std::move(value)));
        }
    }

private:
    // A node being read, with the name its start tag gave.
    struct Frame {
        CNode* node;
        bool xml;  // in the simple XML form
        const Unit* name;
        const Unit* nameEnd;
    };

    void SkipSpace() {
        while (*p_) {
            const size_t length = source_.SpaceAt(p_);
            if (!length) return;
            p_ += length;
        }
    }

    bool StartsWith(const char* prefix) const {
        const Unit* p = p_;
        while (*prefix) {
            if (*p++ != static_cast<Unit>(*prefix++)) return false;
        }
        return true;
    }

    void SetName(CTreeItem& item, const Unit* begin, const Unit* end) {
        if constexpr (sizeof(Unit) == 1) {
            // A document repeats a handful of names: the bytes of the names
            // read last answer most of them without widening and pooling.
            const auto length = static_cast<size_t>(end - begin);
            if (!length) return;
            RecentName& recent = recent_[(length * 31 + static_cast<unsigned char>(begin[0]) * 7 +
                                          static_cast<unsigned char>(end[-1]) * 13) %
                                         recent_.size()];
            if (recent.entry && recent.bytes.size() == length && std::memcmp(recent.bytes.data(), begin, length) == 0) {
                qx::detail::PooledName::Assign(item, *recent.entry);
                return;
            }
            source_.Widen(begin, end, name_);
            item.SetName(std::wstring_view(name_));
            recent.bytes.assign(begin, length);
            recent.entry = &item.GetName();
        } else {
            source_.Widen(begin, end, name_);
            item.SetName(std::wstring_view(name_));
        }
    }

    // Where a leaf's name and value stand in the text.
    struct LeafText {
        const Unit* name = nullptr;
        const Unit* nameEnd = nullptr;
        const Unit* value = nullptr;
        const Unit* valueEnd = nullptr;
        bool hasValue = false;  // a separator follows the name
    };

    // A leaf appended to *node*: a leaf line of the bracket form, or in the
    // simple XML form the nameless leaf of the text before the next tag. An
    // incomplete leaf is appended empty before the error is raised, so that
    // the partly read tree holds it.
    void ReadLeafInto(CNode& node, bool xml) {
        LeafText text;
        if (!(xml ? ScanXmlLeaf(text) : ScanBracketLeaf(text))) {
            node.AddLeaf(new CLeaf);
            Fail(qx::kReadErrorLeafIncomplete);
        }
        CLeaf* leaf = node.AddLeaf(NewLeaf(source_, text.value, text.valueEnd));
        if (!xml) SetName(*leaf, text.name, text.nameEnd);
    }

    // A leaf line of the bracket form: the name up to the separator or a
    // line end, the value up to the line end, which is consumed. A carriage
    // return alone belongs to the value. False when the text ends within
    // the name.
    bool ScanBracketLeaf(LeafText& text) {
        text.name = p_;
        const Unit* p = FindStop(p_, end_, separator_, '\r', '\n');
        p_ = p;
        if (!*p) return false;
        text.nameEnd = p;
        text.value = text.valueEnd = p;
        if (*p == separator_) {
            text.hasValue = true;
            text.value = ++p;
            for (;;) {
                p = FindStop(p, end_, '\n', '\r', '\n');
                if (*p != '\r' || p[1] == '\n') break;
                ++p;  // a carriage return alone belongs to the value
            }
            text.valueEnd = p;
        }
        if (*p == '\r' && p[1] == '\n') {
            p += 2;
        } else if (*p == '\r' || *p == '\n') {
            ++p;
        }
        p_ = p;
        return true;
    }

    // A nameless leaf of the simple XML form: the value up to the next '<'
    // or line end, which stays unread. False when the text ends first.
    bool ScanXmlLeaf(LeafText& text) {
        text.value = p_;
        p_ = FindStop(p_, end_, '<', '\r', '\n');
        text.valueEnd = p_;
        return *p_ != 0;
    }

    // A node's start tag (after white space).
    Frame ReadStartTag(CNode& node) {
        SkipSpace();
        if (*p_ != '[' && *p_ != '<') Fail(qx::kReadErrorNoStartBracket);
        const bool xml = *p_ == '<';
        if (xml) node.setSimpleXML(true);
        const Unit close = xml ? '>' : ']';
        const Unit* name = ++p_;
        p_ = FindStop(p_, end_, close, close, close);
        if (!*p_) Fail(qx::kReadErrorNoEndBracket);
        SetName(node, name, p_);
        return {&node, xml, name, p_++};
    }

    // The rest of an end tag after "</" or "[ENDE_": the node's own name
    // exactly, then the closing bracket and an optional line end.
    void ReadEndTag(const Frame& open) {
        const Unit close = open.xml ? '>' : ']';
        const Unit* after = MatchStartName(open);
        if (!after) after = source_.Match(p_, open.node->GetName().str());
        if (!after || *after != close) Fail(qx::kReadErrorWrongEnd);
        p_ = after + 1;
        if (*p_ == '\r' && p_[1] == '\n') {
            p_ += 2;
        } else if (*p_ == '\n') {
            ++p_;
        }
    }

    // The position after the start tag's name when the text at p_ repeats
    // its units, else null. A node keeps the name it had when its start tag
    // names none, so an empty name is left to the comparison of names.
    const Unit* MatchStartName(const Frame& open) const {
        if (open.name == open.nameEnd) return nullptr;
        // Unit by unit: the text's zero ends the comparison, however short
        // the rest of the text is.
        const Unit* p = p_;
        for (const Unit* n = open.name; n != open.nameEnd; ++n, ++p) {
            if (*p != *n) return nullptr;
        }
        return p;
    }

    const Source source_;
    const Unit* p_;
    const Unit* const end_;
    const Unit separator_;
    std::wstring name_;  // reused for every name: names are interned, not kept
    struct RecentName {
        std::string bytes;
        const CString* entry = nullptr;  // the pool's entry for them
    };
    std::array<RecentName, 64> recent_;
};

template <typename Source>
const typename Source::Unit* ReadNodeFrom(CNode& node, const Source& source, const typename Source::Unit* text,
                                          const typename Source::Unit* end, wchar_t separator,
                                          const typename Source::Unit** stop) {
    Reader<Source> reader(source, text, end, separator);
    const qx::detail::ItemArena arena;
    try {
        reader.ReadNode(node);
    } catch (const CExcRead&) {
        if (stop) *stop = reader.Position();
        throw;
    }
    return reader.Position();
}

// Reads one node from bytes without widening them as a whole: UTF-8 when
// *widening* is null, else 8-bit text widened by that table. A zero byte
// follows *text* (a std::string's own); reading ends at the first zero.
// False, with nothing read, when the separator is not ASCII and so cannot be
// found among the bytes.
bool ReadNodeBytes(CNode& node, std::string_view text, const wchar_t* widening, wchar_t separator) {
    if (static_cast<unsigned>(separator) >= 0x80) return false;
    const char* end = text.data() + text.size();
    if (widening) {
        ReadNodeFrom(node, TableSource{widening}, text.data(), end, separator, nullptr);
    } else {
        ReadNodeFrom(node, Utf8Source{}, text.data(), end, separator, nullptr);
    }
    return true;
}

}  // namespace

namespace qx::detail {

const wchar_t* ReadNodeText(CNode& node, const wchar_t* text, wchar_t separator, const wchar_t** stop) {
    return ReadNodeFrom(node, WideSource{}, text, nullptr, separator, stop);
}

const wchar_t* ReadLeafText(CLeaf& leaf, const wchar_t* text, wchar_t separator) {
    Reader<WideSource> reader(WideSource{}, text, nullptr, separator);
    reader.ReadLeaf(leaf);
    return reader.Position();
}

void ReadTreeBytes(CNode& root, std::string& bytes, unsigned codePage, wchar_t separator) {
    const unsigned marked = qx::MarkedCodePage(bytes);
    if (marked == qx::kCpUtf8) {
        const std::string_view text = std::string_view(bytes).substr(std::min<size_t>(3, bytes.size()));
        if (ReadNodeBytes(root, text, nullptr, separator)) return;
    } else if (marked == 0) {
        if (const wchar_t* table = qx::WideningTable(bytes, qx::ReaderCodePage(codePage))) {
            if (ReadNodeBytes(root, bytes, table, separator)) return;
        }
    }
    const std::wstring text = qx::DecodeText(bytes, codePage);
    std::string().swap(bytes);  // the text is all that is needed from here on
    ReadNodeText(root, text.c_str(), separator, nullptr);
}

}  // namespace qx::detail
