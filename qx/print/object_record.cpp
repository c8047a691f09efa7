#include "qx/print/object_record.h"

#include <iterator>

#include "qx/platform/base/exceptions.h"
#include "qx/platform/base/number_parse.h"
#include "qx/print/internal/int_range.h"
#include "qx/print/record_line.h"

namespace qx {
namespace {

using detail::ClampToInt;

constexpr size_t kRequiredFields = 28;
constexpr size_t kFieldsWithFormatted = 29;
constexpr size_t kAllFields = 34;

class FieldReader {
public:
    FieldReader(const std::vector<std::wstring_view>& fields, double scale) : fields_(fields), scale_(scale) {}

    int Int(size_t i) const { return ClampToInt(ParseInteger(fields_[i])); }
    bool Bool(size_t i) const { return ReadBoolField(fields_[i]); }
    int Scaled(int value) const { return ClampToInt(static_cast<double>(value) * scale_); }
    int ScaledInt(size_t i) const { return Scaled(Int(i)); }
    std::uint32_t Color(size_t first) const { return PackRgb(Int(first), Int(first + 1), Int(first + 2)); }
    std::wstring_view Text(size_t i) const { return fields_[i]; }

private:
    const std::vector<std::wstring_view>& fields_;
    double scale_;
};

// Appends the fields of a record, a comma before each but the first.
class RecordWriter {
public:
    explicit RecordWriter(std::wstring& out) : out_(out) {}

    void Int(int value) {
        Separate();
        if (value >= 0 && value < 10) {  // most fields: flags, anchors, zeros
            out_ += static_cast<wchar_t>(L'0' + value);
            return;
        }
        wchar_t digits[12];
        wchar_t* end = digits + std::size(digits);
        wchar_t* p = end;
        // Counted in the negative range, which holds INT_MIN.
        int rest = value < 0 ? value : -value;
        do {
            *--p = static_cast<wchar_t>(L'0' - rest % 10);
            rest /= 10;
        } while (rest != 0);
        if (value < 0) *--p = L'-';
        out_.append(p, end);
    }
    void Bool(bool value) { Int(value ? 1 : 0); }
    void Color(std::uint32_t color) {
        Int(RedOf(color));
        Int(GreenOf(color));
        Int(BlueOf(color));
    }
    // An object text as EscapeText gives it; a face or a name as
    // EscapeComma does. Every character is kept, zero characters too.
    void Text(const CString& text) {
        Separate();
        if (text.IsEmpty()) {
            out_ += kEmptyTextEscape;
        } else {
            AppendEscaped(out_, text.str(), true);
        }
    }
    void CommaEscaped(const CString& text) {
        Separate();
        AppendEscaped(out_, text.str(), false);
    }

private:
    void Separate() {
        if (started_) out_ += L',';
        started_ = true;
    }

    std::wstring& out_;
    bool started_ = false;
};

}  // namespace

std::unique_ptr<PRINTOBJ> ReadObjectRecord(const std::vector<CString>& fields, double scale) {
    std::vector<std::wstring_view> views;
    views.reserve(fields.size());
    for (const CString& field : fields) views.push_back(field.str());
    return ReadObjectRecord(views, scale);
}

std::unique_ptr<PRINTOBJ> ReadObjectRecord(const std::vector<std::wstring_view>& fields, double scale) {
    if (fields.size() < kRequiredFields) throw CInvalidArgException();
    const FieldReader f(fields, scale);
    auto object = std::make_unique<PRINTOBJ>();
    object->kind = f.Int(0);
    object->text = UnescapeText(f.Text(1));
    object->fontFace = f.Text(2) == kEmptyTextEscape ? CString() : UnescapeComma(f.Text(2));
    object->size = f.ScaledInt(3);
    object->left = f.ScaledInt(4);
    object->x1 = f.ScaledInt(5);
    object->x2 = f.ScaledInt(6);
    object->top = f.ScaledInt(7);
    object->y1 = f.ScaledInt(8);
    object->y2 = f.ScaledInt(9);
    object->right = ClampToInt(static_cast<long long>(object->left) + f.ScaledInt(10));
    object->bottom = ClampToInt(static_cast<long long>(object->top) + f.ScaledInt(11));
    object->alignment = f.Int(12);
    object->single = f.Bool(13);
    object->verticalAnchor = f.Int(14);
    object->grow = f.Bool(15);
    object->bold = f.Bool(16);
    object->italic = f.Bool(17);
    object->underline = f.Bool(18);
    object->frame = f.Bool(19);
    object->angle = f.Int(20);
    object->name = UnescapeComma(f.Text(21));
    object->color = f.Color(22);
    object->fillColor = f.Color(25);
    if (fields.size() >= kFieldsWithFormatted) object->formatted = f.Int(28) > 0;
    if (fields.size() >= kAllFields) {
        object->richTextBlock = f.Int(29);
        object->firstChar = f.Int(30);
        object->lastChar = f.Int(31);
        object->outlineWidth = f.ScaledInt(32);
        object->cornerSize = f.ScaledInt(33);
    } else if (object->kind != kPrintText) {
        object->outlineWidth = object->size;
        object->cornerSize = f.Scaled(object->angle);
    }
    return object;
}

CString FormatObjectRecord(const PRINTOBJ& object, int dx, int dy) {
    std::wstring record;
    AppendObjectRecord(record, object, dx, dy);
    return CString(std::move(record));
}

void AppendObjectRecord(std::wstring& out, const PRINTOBJ& o, int dx, int dy) {
    const auto moved = [](int value, int offset) { return ClampToInt(static_cast<long long>(value) + offset); };
    RecordWriter w(out);
    out += L"OBJ(";
    w.Int(o.kind);
    w.Text(o.text);
    w.CommaEscaped(o.fontFace);
    w.Int(o.size);
    w.Int(moved(o.left, dx));
    w.Int(moved(o.x1, dx));
    w.Int(moved(o.x2, dx));
    w.Int(moved(o.top, dy));
    w.Int(moved(o.y1, dy));
    w.Int(moved(o.y2, dy));
    w.Int(ClampToInt(static_cast<long long>(o.right) - o.left));
    w.Int(ClampToInt(static_cast<long long>(o.bottom) - o.top));
    w.Int(o.alignment);
    w.Bool(o.single);
    w.Int(o.verticalAnchor);
    w.Bool(o.grow);
    w.Bool(o.bold);
    w.Bool(o.italic);
    w.Bool(o.underline);
    w.Bool(o.frame);
    w.Int(o.angle);
    w.CommaEscaped(o.name);
    w.Color(o.color);
    w.Color(o.fillColor);
    w.Bool(o.formatted);
    w.Int(o.richTextBlock);
    w.Int(o.firstChar);
    w.Int(o.lastChar);
    w.Int(o.outlineWidth);
    w.Int(o.cornerSize);
    out += L')';
}

}  // namespace qx
