#include "qx/print/image_cache.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "qx/print/wimage.h"
#include "tests/support/test_support.h"

namespace qx {
namespace {

class ImageCacheTest : public ::testing::Test {
protected:
    ImageCacheTest() {
        std::filesystem::copy_file(std::filesystem::path(QX_EXAMPLES_DIR) / "report" / "logo.png",
                                   dir_.path() / "logo.png");
    }

    test::TempDir dir_;
    ImageCache cache_;
};

TEST_F(ImageCacheTest, EachFileIsLoadedOnceAndShared) {
    const CString logo = dir_.Wide("logo.png").c_str();
    const auto first = cache_.Get(logo);
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->IsLoaded());
    EXPECT_GT(first->SizePixels().cy, 0);
    // Removing the file shows that the second page does not read it again.
    std::filesystem::remove(dir_.path() / "logo.png");
    EXPECT_EQ(cache_.Get(logo), first);
    EXPECT_EQ(cache_.Size(), 1);
}

TEST_F(ImageCacheTest, AFileThatIsNoPictureGivesNoneAndIsNotTriedAgain) {
    test::WriteBytes(dir_.path() / "broken.png", "not a picture");
    const CString broken = dir_.Wide("broken.png").c_str();
    EXPECT_FALSE(cache_.Get(broken));
    EXPECT_FALSE(cache_.Get(dir_.Wide("missing.png").c_str()));
    std::filesystem::copy_file(dir_.path() / "logo.png", dir_.path() / "broken.png",
                               std::filesystem::copy_options::overwrite_existing);
    EXPECT_FALSE(cache_.Get(broken)) << "the job keeps what it found";
    EXPECT_EQ(cache_.Size(), 2);
}

TEST_F(ImageCacheTest, ResetMakesTheNextJobReadTheFilesAgain) {
    const CString path = dir_.Wide("picture.png").c_str();
    test::WriteBytes(dir_.path() / "picture.png", "not yet a picture");
    EXPECT_FALSE(cache_.Get(path));
    std::filesystem::copy_file(dir_.path() / "logo.png", dir_.path() / "picture.png",
                               std::filesystem::copy_options::overwrite_existing);
    cache_.Reset();
    EXPECT_EQ(cache_.Size(), 0);
    const auto loaded = cache_.Get(path);
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(loaded->IsLoaded());
}

}  // namespace
}  // namespace qx
