#include "qx/print/object_record.h"

#include <gtest/gtest.h>

#include <climits>

#include "qx/platform/base/exceptions.h"
#include "qx/print/record_line.h"

namespace qx {
namespace {

std::vector<CString> Fields(const wchar_t* line) { return SplitRecordLine(line).value().fields; }

// A rectangle of 28 fields: size 3, box (10, 20) 30 x 40, rounding 5, red
// outline, yellow fill.
constexpr const wchar_t* kRectangle28 =
    L"OBJ(2,<*E*>,<*E*>,3,10,11,12,20,21,22,30,40,0,0,1,0,0,0,0,1,5,STATIC,255,0,0,255,255,0)";

TEST(ObjectRecordTest, ReadsEveryField) {
    const auto o = ReadObjectRecord(
        Fields(L"OBJ(0,a<*K*>b<*N*>c,Arial<*K*>Bold,9,1,2,3,4,5,6,7,8,2,TRUE,1,false,1,0,1,0,90,SUM(x<*K*>y;2),"
               L"1,2,3,4,5,6,1,7,8,9,10,11)"),
        1.0);
    EXPECT_EQ(o->kind, kPrintText);
    EXPECT_EQ(o->text, L"a,b\nc");
    EXPECT_EQ(o->fontFace, L"Arial,Bold");
    EXPECT_EQ(o->size, 9);
    EXPECT_EQ((std::vector<int>{o->left, o->x1, o->x2, o->top, o->y1, o->y2, o->right, o->bottom}),
              (std::vector<int>{1, 2, 3, 4, 5, 6, 1 + 7, 4 + 8}));
    EXPECT_EQ(o->alignment, 2);
    EXPECT_TRUE(o->single);
    EXPECT_EQ(o->verticalAnchor, 1);
    EXPECT_FALSE(o->grow);
    EXPECT_TRUE(o->bold);
    EXPECT_FALSE(o->italic);
    EXPECT_TRUE(o->underline);
    EXPECT_FALSE(o->frame);
    EXPECT_EQ(o->angle, 90);
    EXPECT_EQ(o->name, L"SUM(x,y;2)");
    EXPECT_EQ(o->color, PackRgb(1, 2, 3));
    EXPECT_EQ(o->fillColor, PackRgb(4, 5, 6));
    EXPECT_EQ(RedOf(o->fillColor), 4);
    EXPECT_EQ(BlueOf(o->fillColor), 6);
    EXPECT_TRUE(o->formatted);
    EXPECT_EQ((std::vector<int>{o->richTextBlock, o->firstChar, o->lastChar, o->outlineWidth, o->cornerSize}),
              (std::vector<int>{7, 8, 9, 10, 11}));
}

TEST(ObjectRecordTest, OptionalFieldsAndTheirDefaults) {
    const auto rectangle = ReadObjectRecord(Fields(kRectangle28), 1.0);
    EXPECT_FALSE(rectangle->formatted);
    EXPECT_EQ(rectangle->richTextBlock, 0);
    EXPECT_EQ(rectangle->firstChar, -1);
    EXPECT_EQ(rectangle->lastChar, -1);
    EXPECT_EQ(rectangle->outlineWidth, 3) << "from the size";
    EXPECT_EQ(rectangle->cornerSize, 5) << "from the rounding value";
    EXPECT_EQ(rectangle->text, L"");

    std::wstring text28 = kRectangle28;
    text28[4] = L'0';  // a text object keeps outline and corner at 0
    const auto text = ReadObjectRecord(Fields(text28.c_str()), 1.0);
    EXPECT_EQ(text->outlineWidth, 0);
    EXPECT_EQ(text->cornerSize, 0);

    // 29 to 33 fields: only the formatted flag is read.
    std::wstring longer = kRectangle28;
    longer.insert(longer.size() - 1, L",1,4,5,6");
    const auto partial = ReadObjectRecord(Fields(longer.c_str()), 1.0);
    EXPECT_TRUE(partial->formatted);
    EXPECT_EQ(partial->richTextBlock, 0);
    EXPECT_EQ(partial->firstChar, -1);
    EXPECT_EQ(partial->outlineWidth, 3);
}

TEST(ObjectRecordTest, FewerThan28FieldsIsAMalformedLayout) {
    std::wstring short27 = kRectangle28;
    short27.erase(short27.rfind(L','), std::wstring::npos).append(L")");
    EXPECT_EQ(Fields(short27.c_str()).size(), 27u);
    EXPECT_THROW(ReadObjectRecord(Fields(short27.c_str()), 1.0), CInvalidArgException);
    EXPECT_THROW(ReadObjectRecord(std::vector<CString>{}, 1.0), CInvalidArgException);
}

TEST(ObjectRecordTest, ScalingCutsTowardZeroAndStaysInRange) {
    const auto o = ReadObjectRecord(Fields(kRectangle28), 1.5);
    EXPECT_EQ(o->size, 4);          // 4.5
    EXPECT_EQ(o->left, 15);
    EXPECT_EQ(o->x1, 16);           // 16.5
    EXPECT_EQ(o->right, 15 + 45);   // width scaled on its own
    EXPECT_EQ(o->bottom, 30 + 60);
    EXPECT_EQ(o->outlineWidth, 4);
    EXPECT_EQ(o->cornerSize, 7);    // 7.5
    EXPECT_EQ(o->angle, 5) << "the rounding value itself is not scaled";
    EXPECT_EQ(o->alignment, 0);

    const auto huge = ReadObjectRecord(
        Fields(L"OBJ(1,x,f,99999999999,-2147483648,1,1,2147483647,1,1,2147483647,2147483647,0,0,0,0,0,0,0,0,0,n,"
               L"256,-1,abc,0,0,0)"),
        1e300);
    EXPECT_EQ(huge->size, INT_MAX);
    EXPECT_EQ(huge->left, INT_MIN);
    EXPECT_EQ(huge->right, -1);  // INT_MIN + INT_MAX
    EXPECT_EQ(huge->bottom, INT_MAX);
    EXPECT_EQ(huge->color, PackRgb(0, 255, 0)) << "channels keep their low byte; text reads as 0";
}

TEST(ObjectRecordTest, WrittenRecordsReadBackMoved) {
    const CString texts[] = {L"", L"a,b", L"one\r\ntwo\nthree", L"<*E*>x", L"\u20AC 5"};
    for (const CString& text : texts) {
        SCOPED_TRACE(testing::PrintToString(text.str()));
        auto original = ReadObjectRecord(Fields(kRectangle28), 1.0);
        original->kind = kPrintText;
        original->text = text;
        original->fontFace = L"Times, New";
        original->name = L"a,b";
        original->formatted = true;
        original->richTextBlock = 2;
        original->firstChar = 3;
        original->lastChar = -1;
        const CString line = FormatObjectRecord(*original, 100, -7);
        const auto read = ReadObjectRecord(Fields(line), 1.0);
        PRINTOBJ expected = *original;
        expected.left += 100;
        expected.x1 += 100;
        expected.x2 += 100;
        expected.right += 100;
        expected.top -= 7;
        expected.y1 -= 7;
        expected.y2 -= 7;
        expected.bottom -= 7;
        EXPECT_EQ(FormatObjectRecord(*read, 0, 0), FormatObjectRecord(expected, 0, 0));
        EXPECT_EQ(read->text, text);
        EXPECT_EQ(read->fontFace, L"Times, New");
        EXPECT_EQ(read->name, L"a,b");
    }
}

TEST(ObjectRecordTest, TheWrittenFormIsFixed) {
    PRINTOBJ o;
    o.kind = kPrintLine;
    o.size = 2;
    o.left = 1;
    o.right = 11;
    o.top = 5;
    o.bottom = 6;
    o.single = true;
    o.color = PackRgb(10, 20, 30);
    o.fillColor = kWhite;
    EXPECT_EQ(FormatObjectRecord(o, 0, 0),
              L"OBJ(1,<*E*>,,2,1,0,0,5,0,0,10,1,0,1,0,0,0,0,0,0,0,,10,20,30,255,255,255,0,0,-1,-1,0,0)");
}

TEST(ObjectRecordTest, WrittenFieldsOfEveryKind) {
    using namespace std::string_literals;
    struct Case {
        const char* what;
        PRINTOBJ object;
        int dx, dy;
        std::wstring record;
    };
    PRINTOBJ extremes;
    extremes.kind = INT_MIN;
    extremes.size = INT_MAX;
    extremes.left = INT_MAX - 5;
    extremes.right = INT_MIN;  // width beyond the int range stops at its end
    extremes.top = INT_MIN;
    extremes.bottom = INT_MAX;
    extremes.angle = -90;
    extremes.lastChar = -1000000;
    PRINTOBJ escaped;
    escaped.text = L"a,b\r\nc<*K*>";
    escaped.fontFace = L"Face, Bold\n";
    escaped.name = L"n,\r";
    escaped.color = PackRgb(1, 2, 3);
    escaped.bold = escaped.italic = escaped.formatted = true;
    PRINTOBJ zeros;
    zeros.text = CString(std::wstring(L"ab\0,c", 5));
    zeros.fontFace = CString(std::wstring(L"F\0", 2));
    zeros.name = CString(std::wstring(L"\0x", 2));
    const Case cases[] = {
        {"extremes, moved", extremes, 10, -10,
         L"OBJ(-2147483648,<*E*>,,2147483647,2147483647,10,10,-2147483648,-10,-10,-2147483648,2147483647,"
         L"0,0,0,0,0,0,0,0,-90,,0,0,0,0,0,0,0,0,-1,-1000000,0,0)"},
        {"escapes", escaped, 0, 0,
         L"OBJ(0,a<*K*>b<*R*><*N*>c<*K*>,Face<*K*> Bold\n,0,0,0,0,0,0,0,0,0,0,0,0,0,1,1,0,0,0,n<*K*>\r,1,2,3,0,0,0,"
         L"1,0,-1,-1,0,0)"},
        {"zero characters are kept", zeros, 0, 0,
         L"OBJ(0,ab\0<*K*>c,F\0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,\0x,0,0,0,0,0,0,0,0,-1,-1,0,0)"s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(FormatObjectRecord(c.object, c.dx, c.dy), c.record);
        std::wstring page = L"PAG(1,1)\r\n";
        AppendObjectRecord(page, c.object, c.dx, c.dy);
        EXPECT_EQ(page, L"PAG(1,1)\r\n" + c.record);
    }
}

}  // namespace
}  // namespace qx
