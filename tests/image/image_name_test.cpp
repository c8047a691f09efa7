// Finding the file of an image window's name: library references, absolute
// names setting the default folder, extensions and base-name probing.
#include <gtest/gtest.h>

#include "qx/image/image_name.h"
#include "tests/support/test_support.h"

namespace {

using qx::ImageKind;
using qx::ResolveImageName;

class ImageNameTest : public ::testing::Test {
protected:
    void Touch(const std::string& name) { qx::test::WriteBytes(dir_.path() / name, "x"); }
    std::wstring Folder() const { return dir_.path().wstring(); }
    std::wstring In(const std::string& name) const { return Folder() + L"\\" + std::wstring(name.begin(), name.end()); }

    qx::test::TempDir dir_;
};

TEST_F(ImageNameTest, ABaseNameIsProbedInTheOrderOfTheCurrentKind) {
    Touch("pump.BMP");
    Touch("pump.JPG");
    struct Case {
        ImageKind current;
        ImageKind found;
        const char* file;
    };
    // PCX probes BMP before JPG; JPG tries its own first; DWG does not
    // probe JPG at all, so it finds the BMP; a library is never probed for.
    const Case cases[] = {
        {ImageKind::Pcx, ImageKind::Bmp, "pump.BMP"},
        {ImageKind::Jpeg, ImageKind::Jpeg, "pump.JPG"},
        {ImageKind::Dwg, ImageKind::Bmp, "pump.BMP"},
        {ImageKind::Slide, ImageKind::Bmp, "pump.BMP"},
    };
    for (const Case& c : cases) {
        std::wstring folder = Folder();
        const qx::ResolvedImage found = ResolveImageName(L"pump", c.current, &folder);
        EXPECT_EQ(found.kind, c.found) << c.file;
        EXPECT_EQ(found.path, In(c.file));
        EXPECT_FALSE(found.standIn);
    }
    std::wstring folder = Folder();
    const qx::ResolvedImage library = ResolveImageName(L"pump", ImageKind::SlideLibrary, &folder);
    EXPECT_TRUE(library.standIn);
    EXPECT_EQ(library.path, In("default.pcx"));
}

TEST_F(ImageNameTest, JpegIsOnlyProbedAfterEveryOtherKind) {
    Touch("valve.JPG");
    Touch("valve.SLD");
    std::wstring folder = Folder();
    EXPECT_EQ(ResolveImageName(L"valve", ImageKind::Pcx, &folder).kind, ImageKind::Slide);
    EXPECT_EQ(ResolveImageName(L"valve", ImageKind::Dwg, &folder).kind, ImageKind::Slide);
}

TEST_F(ImageNameTest, AnAbsoluteNameSetsTheDefaultFolderForTheNamesAfterIt) {
    Touch("logo.pcx");
    Touch("plan.BMP");
    std::wstring folder;
    const qx::ResolvedImage first = ResolveImageName(In("logo.pcx"), ImageKind::Pcx, &folder);
    EXPECT_EQ(folder, Folder());
    EXPECT_EQ(first.kind, ImageKind::Pcx);
    EXPECT_EQ(first.path, In("logo.pcx"));
    const qx::ResolvedImage next = ResolveImageName(L"plan", ImageKind::Pcx, &folder);
    EXPECT_EQ(next.kind, ImageKind::Bmp);
    EXPECT_EQ(next.path, In("plan.BMP"));
}

TEST_F(ImageNameTest, ALibraryReferenceNamesTheLibraryFileAndTheSlide) {
    Touch("symbols.slb");
    std::wstring folder = Folder();
    const qx::ResolvedImage found = ResolveImageName(L"symbols.old?valve.sld", ImageKind::Pcx, &folder);
    EXPECT_EQ(found.kind, ImageKind::SlideLibrary);
    EXPECT_EQ(found.path, In("symbols.slb"));
    EXPECT_EQ(found.slideName, L"valve");
    // The library's folder may hold dots: only its file part loses them.
    std::wstring none;
    const qx::ResolvedImage absolute = ResolveImageName(In("symbols") + L"?pump", ImageKind::Pcx, &none);
    EXPECT_EQ(none, Folder());
    EXPECT_EQ(absolute.path, In("symbols.slb"));
    EXPECT_EQ(absolute.slideName, L"pump");
}

TEST_F(ImageNameTest, ExtensionsDecideTheKindAndAMissingFileGivesTheStandIn) {
    Touch("a.BmP");
    Touch("b.tif");
    std::wstring folder = Folder();
    EXPECT_EQ(ResolveImageName(L"a.BmP", ImageKind::Pcx, &folder).kind, ImageKind::Bmp);
    EXPECT_EQ(ResolveImageName(L"b.tif", ImageKind::Pcx, &folder).kind, ImageKind::Tif);
    const qx::ResolvedImage missing = ResolveImageName(L"c.jpg", ImageKind::Pcx, &folder);
    EXPECT_TRUE(missing.standIn);
    EXPECT_EQ(missing.kind, ImageKind::Pcx);
    EXPECT_EQ(missing.path, In("default.pcx"));
    // Another extension is a raster picture whose content decides, and
    // is taken without a check.
    const qx::ResolvedImage other = ResolveImageName(L"d.pic", ImageKind::Bmp, &folder);
    EXPECT_FALSE(other.standIn);
    EXPECT_EQ(other.kind, ImageKind::Pcx);
    EXPECT_EQ(other.path, In("d.pic"));
}

TEST_F(ImageNameTest, AFolderThatIsGoneGivesTheStandIn) {
    std::wstring folder = Folder() + L"\\gone";
    const qx::ResolvedImage found = ResolveImageName(L"x.bmp", ImageKind::Pcx, &folder);
    EXPECT_TRUE(found.standIn);
    EXPECT_EQ(found.path, Folder() + L"\\gone\\default.pcx");
}

}  // namespace
