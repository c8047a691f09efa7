#include "qx/print/page_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "qx/platform/base/utf.h"
#include "qx/print/layout_reader.h"
#include "qx/print/object_record.h"
#include "qx/print/page_file_reader.h"
#include "qx/print/record_line.h"
#include "tests/print/print_fixture.h"

namespace qx {
namespace {

class PageFileTest : public test::PrintTest {
protected:
    std::filesystem::path Native(const std::wstring& path) const { return std::filesystem::path(path); }
    size_t FilesInFolder() const {
        return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(dir_.path()),
                                                 std::filesystem::directory_iterator()));
    }

    PRINTOBJ Text(const CString& text, const CString& name) const {
        PRINTOBJ o;
        o.text = text;
        o.name = name;
        o.fontFace = L"Arial";
        o.left = 10;
        o.top = 20;
        o.right = 110;
        o.bottom = 40;
        o.color = PackRgb(1, 2, 3);
        o.fillColor = kWhite;
        return o;
    }
};

TEST_F(PageFileTest, HeaderAndObjectLinesAreUtf16WithCrLf) {
    SharedPageGeometry() = PageGeometry{10930, true};
    PageFileSet pages(Folder());
    ASSERT_TRUE(pages.NewPageFile(1));
    PRINTOBJ o = Text(L"\u20AC", L"STATIC");
    pages.WriteObject(o, 5, 6);
    pages.ClosePageFile();
    ASSERT_EQ(pages.PageCount(), 1);

    const std::string bytes = test::ReadBytes(Native(pages.PagePath(0)));
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(Utf16BytesToWide(std::string_view(bytes).substr(2), false),
              L"VER(2.000000)\r\nDOC(10930,1)\r\n\r\nPAG(1,1)\r\n" + FormatObjectRecord(o, 5, 6).str() + L"\r\n");
}

TEST_F(PageFileTest, ObjectsReadBackWithEveryField) {
    PageFileSet pages(Folder());
    const PRINTOBJ objects[] = {
        Text(L"", L"empty"),
        Text(L"a,b,,c", L"commas"),
        Text(L"one\r\ntwo\nthree\r", L"PAGE"),
        Text(L"Gr\u00FC\u00DFe \u20AC \U0001F600", L"na,me"),
        Text(CString(std::wstring(L"\0a\0", 3)), CString(std::wstring(L"ze\0ro", 5))),
    };
    ASSERT_TRUE(pages.NewPageFile(0));
    for (const PRINTOBJ& o : objects) pages.WriteObject(o, 0, 0);
    pages.ClosePageFile();

    const LoadedPage page = ReadPageFile(pages.PagePath(0), Folder());
    EXPECT_EQ(page.number, L"1");
    EXPECT_EQ(page.mode, 0);
    ASSERT_EQ(page.objects.size(), std::size(objects));
    for (size_t i = 0; i < std::size(objects); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(page.objects[i]->text, objects[i].text);
        EXPECT_EQ(page.objects[i]->name, objects[i].name);
        EXPECT_EQ(FormatObjectRecord(*page.objects[i], 0, 0), FormatObjectRecord(objects[i], 0, 0));
    }
}

TEST_F(PageFileTest, PagesAreNumberedAndResetDeletesThem) {
    PageFileSet pages(Folder());
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(pages.NewPageFile(1));  // opening the next closes the open one
    pages.ClosePageFile();
    EXPECT_EQ(pages.PageCount(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(ReadPageFile(pages.PagePath(i), L"").number, CString(std::to_wstring(i + 1)));
    EXPECT_EQ(FilesInFolder(), 3u);
    pages.Reset();
    EXPECT_EQ(pages.PageCount(), 0);
    EXPECT_EQ(FilesInFolder(), 0u);
    ASSERT_TRUE(pages.NewPageFile(0));
    EXPECT_EQ(ReadPageFile(pages.PagePath(0), L"").number, L"") << "nothing is written before the page is closed";
    pages.ClosePageFile();
    EXPECT_EQ(ReadPageFile(pages.PagePath(0), L"").number, L"1") << "numbers start again after a reset";
}

TEST_F(PageFileTest, AFolderThatTakesNoFileGivesNoPage) {
    PageFileSet pages(Folder() + L"missing/");
    EXPECT_FALSE(pages.NewPageFile(0));
    pages.WriteObject(Text(L"x", L"y"), 0, 0);  // dropped
    pages.ClosePageFile();
    EXPECT_EQ(pages.PageCount(), 0);
}

TEST_F(PageFileTest, FortyThousandPagesGetFortyThousandFiles) {
    constexpr int kPages = 40000;
    std::set<std::wstring> paths;
    {
        PageFileSet pages(Folder());
        const PRINTOBJ o = Text(L"x", L"STATIC");
        for (int i = 0; i < kPages; ++i) {
            ASSERT_TRUE(pages.NewPageFile(1)) << i;
            pages.WriteObject(o, 0, i);
        }
        pages.ClosePageFile();
        ASSERT_EQ(pages.PageCount(), kPages);
        for (int i = 0; i < kPages; ++i) paths.insert(pages.PagePath(i));
        EXPECT_EQ(paths.size(), static_cast<size_t>(kPages));
        EXPECT_EQ(FilesInFolder(), static_cast<size_t>(kPages));
        const LoadedPage last = ReadPageFile(pages.PagePath(kPages - 1), L"");
        EXPECT_EQ(last.number, CString(std::to_wstring(kPages)));
        ASSERT_EQ(last.objects.size(), 1u);
        EXPECT_EQ(last.objects[0]->top, 20 + kPages - 1);
        pages.Reset();
        EXPECT_EQ(FilesInFolder(), 0u);
        ASSERT_TRUE(pages.NewPageFile(0));
    }
    EXPECT_EQ(FilesInFolder(), 0u) << "the set deletes its files when it goes";
}

TEST_F(PageFileTest, ReadingAPage) {
    const std::wstring path = WriteLines(
        "page.tmp",
        {L"VER(2.000000)", L"DOC(9000,1)", L"", L"PAG(7,1)", L"; OBJ(0,comment,,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,,0,0,0,0,0,0)",
         L"OBJ(0,5 \u0080,,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,euro,0,0,0,0,0,0)",
         L"OBJ(3,logo.png,,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,relative,0,0,0,0,0,0)",
         L"OBJ(3,C:\\pics\\logo.png,,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,drive,0,0,0,0,0,0)",
         L"OBJ(3,\\\\server\\logo.png,,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,network,0,0,0,0,0,0)",
         L"OBJ(3,<*E*>,,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,nothing,0,0,0,0,0,0)",
         L"VER(1.0)", L"OBJ(0,late,,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,late,0,0,0,0,0,0)"},
        true);
    const LoadedPage page = ReadPageFile(path, L"C:\\layouts\\");
    EXPECT_EQ(page.width, 9000);
    EXPECT_EQ(page.landscape, 1);
    EXPECT_EQ(page.number, L"7");
    EXPECT_EQ(page.mode, 1);
    std::vector<std::wstring> texts;
    for (const auto& o : page.objects) texts.push_back(o->text.str());
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"5 \u20AC", L"C:\\layouts\\logo.png", L"C:\\pics\\logo.png",
                                                L"\\\\server\\logo.png"}))
        << "an image without path is dropped; an old version ends the page";

    // Written the Linux way: the layout's folder ends at its last slash, and
    // a path that begins with a separator is absolute.
    LayoutFile layout;
    layout.Set(L"/srv/reports/masks/liste.msk");
    EXPECT_EQ(layout.folder, L"/srv/reports/masks/");
    EXPECT_EQ(ResolveImagePath(L"pics/logo.png", layout.folder), L"/srv/reports/masks/pics/logo.png");
    EXPECT_EQ(ResolveImagePath(L"/srv/pics/logo.png", layout.folder), L"/srv/pics/logo.png");
    EXPECT_EQ(ResolveImagePath(L"//server/logo.png", layout.folder), L"//server/logo.png");

    const LoadedPage missing = ReadPageFile(Folder() + L"none.tmp", L"");
    EXPECT_TRUE(missing.objects.empty());
    EXPECT_EQ(missing.number, L"");
}

}  // namespace
}  // namespace qx
