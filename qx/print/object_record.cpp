#include "qx/print/object_record.h"

#include "qx/platform/base/exceptions.h"
#include "qx/platform/base/format.h"
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
    FieldReader(const std::vector<CString>& fields, double scale) : fields_(fields), scale_(scale) {}

    int Int(size_t i) const { return ClampToInt(ParseInteger(fields_[i])); }
    bool Bool(size_t i) const { return ReadBoolField(fields_[i]); }
    int Scaled(int value) const { return ClampToInt(static_cast<double>(value) * scale_); }
    int ScaledInt(size_t i) const { return Scaled(Int(i)); }
    std::uint32_t Color(size_t first) const { return PackRgb(Int(first), Int(first + 1), Int(first + 2)); }
    const CString& Text(size_t i) const { return fields_[i]; }

private:
    const std::vector<CString>& fields_;
    double scale_;
};

}  // namespace

std::unique_ptr<PRINTOBJ> ReadObjectRecord(const std::vector<CString>& fields, double scale) {
    if (fields.size() < kRequiredFields) throw CInvalidArgException();
    const FieldReader f(fields, scale);
    auto object = std::make_unique<PRINTOBJ>();
    object->kind = f.Int(0);
    object->text = UnescapeText(f.Text(1));
    object->fontFace = UnescapeComma(UnescapeEmpty(f.Text(2)));
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

CString FormatObjectRecord(const PRINTOBJ& o, int dx, int dy) {
    const auto moved = [](int value, int offset) { return ClampToInt(static_cast<long long>(value) + offset); };
    const int width = ClampToInt(static_cast<long long>(o.right) - o.left);
    const int height = ClampToInt(static_cast<long long>(o.bottom) - o.top);
    const CString text = EscapeText(o.text), face = EscapeComma(o.fontFace), name = EscapeComma(o.name);
    return CString(Format(
        L"OBJ(%d,%s,%s,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%s,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d)",
        o.kind, text.GetString(), face.GetString(), o.size, moved(o.left, dx), moved(o.x1, dx), moved(o.x2, dx),
        moved(o.top, dy), moved(o.y1, dy), moved(o.y2, dy), width, height, o.alignment, o.single ? 1 : 0,
        o.verticalAnchor, o.grow ? 1 : 0, o.bold ? 1 : 0, o.italic ? 1 : 0, o.underline ? 1 : 0, o.frame ? 1 : 0,
        o.angle, name.GetString(), RedOf(o.color), GreenOf(o.color), BlueOf(o.color), RedOf(o.fillColor),
        GreenOf(o.fillColor), BlueOf(o.fillColor), o.formatted ? 1 : 0, o.richTextBlock, o.firstChar, o.lastChar,
        o.outlineWidth, o.cornerSize));
}

}  // namespace qx
