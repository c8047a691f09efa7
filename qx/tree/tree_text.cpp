// The text form of tree items: measuring and writing (the reader is in
// tree_reader.cpp).
//
// Measuring and writing share one description of the text (the Emit*
// functions below over a counting, a writing or an encoding sink), so that
// GetTextLength always equals what WriteToMem writes. Walks keep their own
// stack instead of recursing: a deeply nested document costs heap, never
// the call stack. Lengths are counted in size_t throughout: the indentation
// of a deep document alone grows with the square of its depth (47,000
// nested nodes indent by more than two thousand million tabs), so only the
// family's int and unsigned interfaces narrow them, with a check.

#include <algorithm>
#include <cwchar>
#include <vector>

#include "qx/platform/base/checked_length.h"
#include "qx/platform/base/codepage.h"
#include "qx/platform/base/format.h"
#include "qx/platform/os/debug_output.h"
#include "qx/tree/exc.h"
#include "qx/tree/internal/tree_reader.h"
#include "qx/tree/internal/tree_writer.h"
#include "qx/tree/node.h"
#include "qx/tree/tree_text_stream.h"

CExc::~CExc() = default;
CExcRead::~CExcRead() = default;

namespace {

// An indentation level: tabs before a line, or -1 for none at any depth.
// Wider than the int of the interfaces, so that one level deeper never
// overflows.
using Level = long long;

Level ChildLevel(Level level) { return level < 0 ? -1 : level + 1; }

struct CountingSink {
    size_t count = 0;
    void Put(wchar_t) { ++count; }
    void Put(const wchar_t* text) { count += std::wcslen(text); }
    void Put(const CString& text) { count += text.str().size(); }
    void Tabs(Level level) { count += level > 0 ? static_cast<size_t>(level) : 0; }
};

struct WritingSink {
    wchar_t* cursor;
    void Put(wchar_t c) { *cursor++ = c; }
    void Put(const wchar_t* text) {
        while (*text) *cursor++ = *text++;
    }
    void Put(const CString& text) { cursor = std::copy(text.str().begin(), text.str().end(), cursor); }
    void Tabs(Level level) {
        if (level > 0) cursor = std::fill_n(cursor, static_cast<size_t>(level), L'\t');
    }
};

// Writes file bytes straight away, so that a file needs no wide copy of its
// text. Each name and value is encoded on its own: an 8-bit page composes
// (NFC) within it but never across the brackets and separators around it,
// which therefore always stay what they are. With a *spill*, every full
// piece of kPieceBytes goes there and the buffer starts again, so that the
// text is never held whole.
struct EncodingSink {
    static constexpr size_t kPieceBytes = 64 * 1024;

    const qx::CodePageWriter& writer;
    std::string& out;
    bool* lossy = nullptr;
    const qx::ByteSink* spill = nullptr;
    // ASCII goes straight into the bytes where the form writes it so.
    const bool asciiBytes = writer.WritesAsciiAsBytes();

    void Put(wchar_t c) {
        if (c < 0x80 && asciiBytes) {
            out.push_back(static_cast<char>(c));
        } else {
            writer.Append(std::wstring_view(&c, 1), out, lossy);
        }
        Spill();
    }
    // The form's own texts ("\r\n", "[ENDE_", ...), all ASCII.
    void Put(const wchar_t* text) {
        if (asciiBytes) {
            while (*text) out.push_back(static_cast<char>(*text++));
        } else {
            writer.Append(text, out, lossy);
        }
        Spill();
    }
    void Put(const CString& text) {
        writer.Append(text.str(), out, lossy);
        Spill();
    }
    void Tabs(Level level) {
        for (auto left = static_cast<size_t>(std::max<Level>(level, 0)); left;) {
            const size_t n = std::min(left, kPieceBytes);
            if (asciiBytes) {
                out.append(n, '\t');
            } else {
                writer.Append(std::wstring(n, L'\t'), out, lossy);
            }
            left -= n;
            Spill();
        }
    }
    void Spill() {
        if (!spill || out.size() < kPieceBytes) return;
        (*spill)(out);
        out.clear();
    }
};

bool IsSingleLineXml(const CNode& node) {
    return node.isSimpleXML() && node.NrOfChildren() == 0 && node.NrOfLeaves() == 1;
}

template <typename Sink>
void EmitLeaf(Sink& sink, const CLeaf& leaf, Level level, wchar_t separator) {
    sink.Tabs(level);
    sink.Put(leaf.GetName());
    sink.Put(separator);
    sink.Put(leaf.GetRawData());
    sink.Put(L"\r\n");
}

// The node's opening line and its leaves.
template <typename Sink>
void EmitNodeOpen(Sink& sink, const CNode& node, Level level, wchar_t separator) {
    sink.Tabs(level);
    if (IsSingleLineXml(node)) {
        sink.Put(L'<');
        sink.Put(node.GetName());
        sink.Put(L'>');
        sink.Put(node.Leaves().GetHead()->GetRawData());
        sink.Put(L"</");
        sink.Put(node.GetName());
        sink.Put(L">\r\n");
        return;
    }
    sink.Put(node.isSimpleXML() ? L'<' : L'[');
    sink.Put(node.GetName());
    sink.Put(node.isSimpleXML() ? L">\r\n" : L"]\r\n");
    for (POSITION pos = node.Leaves().GetHeadPosition(); pos;) {
        EmitLeaf(sink, *node.Leaves().GetNext(pos), ChildLevel(level), separator);
    }
}

template <typename Sink>
void EmitNodeClose(Sink& sink, const CNode& node, Level level) {
    if (IsSingleLineXml(node)) return;
    sink.Tabs(level);
    sink.Put(node.isSimpleXML() ? L"</" : L"[ENDE_");
    sink.Put(node.GetName());
    sink.Put(node.isSimpleXML() ? L">\r\n" : L"]\r\n");
}

// Depth-first walk of *root*'s subtree: enter(node, level) before a node's
// children, leave(node, level) after them. The nodes' own cursors are not
// used, so a caller's walk over them is not disturbed.
template <typename Enter, typename Leave>
void WalkNodes(const CNode& root, Level level, Enter enter, Leave leave) {
    struct Frame {
        const CNode* node;
        Level level;
        POSITION next;
    };
    std::vector<Frame> stack;
    enter(root, level);
    stack.push_back({&root, level, root.Children().GetHeadPosition()});
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next) {
            const CNode* child = top.node->Children().GetNext(top.next);
            const Level childLevel = ChildLevel(top.level);
            enter(*child, childLevel);
            stack.push_back({child, childLevel, child->Children().GetHeadPosition()});
        } else {
            leave(*top.node, top.level);
            stack.pop_back();
        }
    }
}

template <typename Sink>
void EmitNode(Sink& sink, const CNode& node, Level level, wchar_t separator) {
    WalkNodes(
        node, level, [&](const CNode& n, Level l) { EmitNodeOpen(sink, n, l, separator); },
        [&](const CNode& n, Level l) { EmitNodeClose(sink, n, l); });
}

template <typename Emit>
size_t Measure(Emit emit) {
    CountingSink sink;
    emit(sink);
    return sink.count;
}

// Writes at *cursor*, ends the text with a zero and moves the cursor past
// the text; returns the number of characters written.
template <typename Emit>
size_t WriteAt(wchar_t*& cursor, Emit emit) {
    WritingSink sink{cursor};
    emit(sink);
    *sink.cursor = L'\0';
    const auto written = static_cast<size_t>(sink.cursor - cursor);
    cursor = sink.cursor;
    return written;
}

}  // namespace

unsigned CLeaf::GetTextLength(int indent) const {
    return qx::CheckedLength<unsigned>(Measure([&](auto& sink) { EmitLeaf(sink, *this, indent, L':'); }));
}

unsigned CLeaf::WriteToMem(wchar_t*& cursor, int indent, wchar_t separator) const {
    return qx::CheckedLength<unsigned>(
        WriteAt(cursor, [&](auto& sink) { EmitLeaf(sink, *this, indent, separator); }));
}

unsigned long CLeaf::ReadFromMem(const wchar_t*& cursor, wchar_t separator) {
    const wchar_t* start = cursor;
    cursor = qx::detail::ReadLeafText(*this, cursor, separator);
    return static_cast<unsigned long>(cursor - start);
}

void CLeaf::DumpToDebugger(int level) const {
    CString bars(L'|', level);
    qx::OutputDebugText(qx::Format(L"%s- %s : %s\n", bars.GetString(), GetName().GetString(),
                                   GetRawData().GetString()));
}

unsigned CNode::GetTextLength(int indent) const {
    return qx::CheckedLength<unsigned>(Measure([&](auto& sink) { EmitNode(sink, *this, indent, L':'); }));
}

unsigned CNode::WriteToMem(wchar_t*& cursor, int indent, wchar_t separator) const {
    return qx::CheckedLength<unsigned>(
        WriteAt(cursor, [&](auto& sink) { EmitNode(sink, *this, indent, separator); }));
}

unsigned long CNode::ReadFromMem(const wchar_t*& cursor, wchar_t separator) {
    const wchar_t* start = cursor;
    // On a read error the cursor is left where reading stopped.
    cursor = qx::detail::ReadNodeText(*this, cursor, separator, &cursor);
    return static_cast<unsigned long>(cursor - start);
}

void CNode::DumpToDebugger(int level) const {
    WalkNodes(
        *this, level < 0 ? 0 : level,
        [](const CNode& node, Level l) {
            CString bars(L'|', qx::CheckedLength<int>(static_cast<size_t>(l)));
            qx::OutputDebugText(qx::Format(L"%s+ %s\n", bars.GetString(), node.GetName().GetString()));
            for (POSITION pos = node.Leaves().GetHeadPosition(); pos;) {
                node.Leaves().GetNext(pos)->DumpToDebugger(qx::CheckedLength<int>(static_cast<size_t>(l + 1)));
            }
        },
        [](const CNode&, Level) {});
}

void qx::detail::AppendNodeEncoded(const CNode& node, int level, wchar_t separator, const qx::CodePageWriter& writer,
                                   std::string& out) {
    EncodingSink sink{writer, out};
    EmitNode(sink, node, level, separator);
}

void qx::WriteTreeText(const CNode& node, bool indent, wchar_t separator, unsigned codePage, const ByteSink& sink,
                       bool* lossy) {
    if (lossy) *lossy = false;
    const CodePageWriter writer(codePage);
    std::string piece;
    piece.reserve(EncodingSink::kPieceBytes);
    EncodingSink encoding{writer, piece, lossy, &sink};
    EmitNode(encoding, node, indent ? 0 : -1, separator);
    if (!piece.empty()) sink(piece);
}

bool CNode::WriteToString(CString& out, bool /*encode*/, bool indent, bool /*utf8*/, unsigned /*codePage*/,
                          wchar_t separator) const {
    const Level level = indent ? 0 : -1;
    // A text longer than a CString can hold is refused before *out* changes.
    const int length = qx::CheckedLength<int>(Measure([&](auto& sink) { EmitNode(sink, *this, level, separator); }));
    wchar_t* cursor = out.GetBufferSetLength(length);
    WriteAt(cursor, [&](auto& sink) { EmitNode(sink, *this, level, separator); });
    out.ReleaseBuffer(length);
    return true;
}
