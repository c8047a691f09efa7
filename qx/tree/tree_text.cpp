// The text form of tree items: measuring and writing (the reader is in
// tree_reader.cpp).
//
// Measuring and writing share one description of the text (the Emit*
// functions below over a counting or a writing sink), so that
// GetTextLength always equals what WriteToMem writes. Walks keep their own
// stack instead of recursing: a deeply nested document costs heap, never
// the call stack.

#include <cwchar>
#include <vector>

#include "qx/platform/base/format.h"
#include "qx/platform/base/codepage.h"
#include "qx/platform/os/debug_output.h"
#include "qx/tree/exc.h"
#include "qx/tree/internal/tree_reader.h"
#include "qx/tree/internal/tree_writer.h"
#include "qx/tree/node.h"

CExc::~CExc() = default;
CExcRead::~CExcRead() = default;

namespace {

int ChildLevel(int level) { return level < 0 ? -1 : level + 1; }

struct CountingSink {
    size_t count = 0;
    void Put(wchar_t) { ++count; }
    void Put(const wchar_t* text) { count += std::wcslen(text); }
    void Put(const CString& text) { count += static_cast<size_t>(text.GetLength()); }
    void Tabs(int level) { count += level > 0 ? static_cast<size_t>(level) : 0; }
};

struct WritingSink {
    wchar_t* cursor;
    void Put(wchar_t c) { *cursor++ = c; }
    void Put(const wchar_t* text) {
        while (*text) *cursor++ = *text++;
    }
    void Put(const CString& text) {
        std::wmemcpy(cursor, text.GetString(), static_cast<size_t>(text.GetLength()));
        cursor += text.GetLength();
    }
    void Tabs(int level) {
        for (int i = 0; i < level; ++i) *cursor++ = L'\t';
    }
};

// Writes file bytes straight away, so that a file needs no wide copy of its
// text. Each name and value is encoded on its own: an 8-bit page composes
// (NFC) within it but never across the brackets and separators around it,
// which therefore always stay what they are.
struct EncodingSink {
    const qx::CodePageWriter& writer;
    std::string& out;
    void Put(wchar_t c) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else {
            writer.Append(std::wstring_view(&c, 1), out);
        }
    }
    // The form's own texts ("\r\n", "[ENDE_", ...): character by character,
    // which for ASCII is a plain append.
    void Put(const wchar_t* text) {
        while (*text) Put(*text++);
    }
    void Put(const CString& text) { writer.Append(text.str(), out); }
    void Tabs(int level) {
        if (level > 0) out.append(static_cast<size_t>(level), '\t');
    }
};

bool IsSingleLineXml(const CNode& node) {
    return node.isSimpleXML() && node.NrOfChildren() == 0 && node.NrOfLeaves() == 1;
}

template <typename Sink>
void EmitLeaf(Sink& sink, const CLeaf& leaf, int level, wchar_t separator) {
    sink.Tabs(level);
    sink.Put(leaf.GetName());
    sink.Put(separator);
    sink.Put(leaf.GetRawData());
    sink.Put(L"\r\n");
}

// The node's opening line and its leaves.
template <typename Sink>
void EmitNodeOpen(Sink& sink, const CNode& node, int level, wchar_t separator) {
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
void EmitNodeClose(Sink& sink, const CNode& node, int level) {
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
void WalkNodes(const CNode& root, int level, Enter enter, Leave leave) {
    struct Frame {
        const CNode* node;
        int level;
        POSITION next;
    };
    std::vector<Frame> stack;
    enter(root, level);
    stack.push_back({&root, level, root.Children().GetHeadPosition()});
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next) {
            const CNode* child = top.node->Children().GetNext(top.next);
            int childLevel = ChildLevel(top.level);
            enter(*child, childLevel);
            stack.push_back({child, childLevel, child->Children().GetHeadPosition()});
        } else {
            leave(*top.node, top.level);
            stack.pop_back();
        }
    }
}

template <typename Sink>
void EmitNode(Sink& sink, const CNode& node, int level, wchar_t separator) {
    WalkNodes(
        node, level, [&](const CNode& n, int l) { EmitNodeOpen(sink, n, l, separator); },
        [&](const CNode& n, int l) { EmitNodeClose(sink, n, l); });
}

template <typename Emit>
unsigned Measure(Emit emit) {
    CountingSink sink;
    emit(sink);
    return static_cast<unsigned>(sink.count);
}

// Writes at *cursor*, ends the text with a zero and moves the cursor past
// the text; returns the number of characters written.
template <typename Emit>
unsigned WriteAt(wchar_t*& cursor, Emit emit) {
    WritingSink sink{cursor};
    emit(sink);
    *sink.cursor = L'\0';
    auto written = static_cast<unsigned>(sink.cursor - cursor);
    cursor = sink.cursor;
    return written;
}

}  // namespace

unsigned CLeaf::GetTextLength(int indent) const {
    return Measure([&](auto& sink) { EmitLeaf(sink, *this, indent, L':'); });
}

unsigned CLeaf::WriteToMem(wchar_t*& cursor, int indent, wchar_t separator) const {
    return WriteAt(cursor, [&](auto& sink) { EmitLeaf(sink, *this, indent, separator); });
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
    return Measure([&](auto& sink) { EmitNode(sink, *this, indent, L':'); });
}

unsigned CNode::WriteToMem(wchar_t*& cursor, int indent, wchar_t separator) const {
    return WriteAt(cursor, [&](auto& sink) { EmitNode(sink, *this, indent, separator); });
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
        [](const CNode& node, int l) {
            CString bars(L'|', l);
            qx::OutputDebugText(qx::Format(L"%s+ %s\n", bars.GetString(), node.GetName().GetString()));
            for (POSITION pos = node.Leaves().GetHeadPosition(); pos;) node.Leaves().GetNext(pos)->DumpToDebugger(l + 1);
        },
        [](const CNode&, int) {});
}

void qx::detail::AppendNodeEncoded(const CNode& node, int level, wchar_t separator, const qx::CodePageWriter& writer,
                                   std::string& out) {
    EncodingSink sink{writer, out};
    EmitNode(sink, node, level, separator);
}

bool CNode::WriteToString(CString& out, bool /*encode*/, bool indent, bool /*utf8*/, unsigned /*codePage*/,
                          wchar_t separator) const {
    int level = indent ? 0 : -1;
    unsigned length = GetTextLength(level);
    wchar_t* cursor = out.GetBufferSetLength(static_cast<int>(length));
    WriteToMem(cursor, level, separator);
    out.ReleaseBuffer(static_cast<int>(length));
    return true;
}
