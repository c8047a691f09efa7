#include "qx/ui/window_icons.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "qx/platform/gfx/picture.h"
#include "qx/platform/wnd/icons.h"
#include "tests/support/test_support.h"
#include "tests/ui/ui_fixture.h"

namespace {

void Put16(std::string& out, unsigned value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}
void Put32(std::string& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// An icon file with one 16 x 16 picture of 32 bits a pixel, all one colour.
std::string IconFile() {
    constexpr unsigned kSide = 16;
    std::string image;
    Put32(image, 40);         // header size
    Put32(image, kSide);      // width
    Put32(image, 2 * kSide);  // height: colours and mask
    Put16(image, 1);          // planes
    Put16(image, 32);         // bits a pixel
    for (int i = 0; i < 6; ++i) Put32(image, 0);
    for (unsigned i = 0; i < kSide * kSide; ++i) Put32(image, 0xFF2080C0);  // opaque blue
    image.append(kSide * 4, '\0');  // mask rows, 32 bits each: all shown
    std::string file;
    Put16(file, 0);
    Put16(file, 1);  // icon
    Put16(file, 1);  // one picture
    file += static_cast<char>(kSide);
    file += static_cast<char>(kSide);
    file += '\0';  // no palette
    file += '\0';
    Put16(file, 1);
    Put16(file, 32);
    Put32(file, static_cast<std::uint32_t>(image.size()));
    Put32(file, 6 + 16);
    return file + image;
}

class WindowIconsTest : public UiTest {
protected:
    std::wstring Write(const std::string& name, const std::string& bytes) {
        qx::test::WriteBytes(dir_.path() / name, bytes);
        return dir_.Wide(name);
    }
    static HICON Icon(HWND window, WPARAM big) { return reinterpret_cast<HICON>(SendMessage(window, WM_GETICON, big)); }

    qx::test::TempDir dir_;
};

}  // namespace

TEST_F(WindowIconsTest, AnIconFileGivesTheSmallAndTheLargeIcon) {
    HWND window = MakeParent();
    const std::wstring file = Write("heizung.ico", IconFile());
    LoadIcons(window, nullptr, IDI_QUESTION, file.c_str());
    HICON small = Icon(window, 0);
    HICON large = Icon(window, 1);
    ASSERT_NE(small, nullptr);
    ASSERT_NE(large, nullptr);
    EXPECT_EQ(qx::IconSize(small), CSize(16, 16));
    EXPECT_EQ(qx::IconSize(large), CSize(32, 32));
    ASSERT_NE(qx::IconPicture(large), nullptr);
    EXPECT_EQ(qx::IconPicture(large)->SizePixels(), CSize(16, 16));  // drawn scaled

    // New icons replace the window's, and the old ones are freed.
    LoadIcons(window, nullptr, IDI_QUESTION, file.c_str());
    EXPECT_NE(Icon(window, 1), large);
    EXPECT_EQ(qx::IconPicture(large), nullptr);
    EXPECT_EQ(qx::IconPicture(small), nullptr);

    // Those of a window that is gone are freed by the next call.
    HWND other = MakeParent();
    HICON kept = Icon(window, 1);
    DestroyWindow(window);
    LoadIcons(other, nullptr, IDI_QUESTION, nullptr);
    EXPECT_EQ(qx::IconPicture(kept), nullptr);
}

TEST_F(WindowIconsTest, WithoutAnIconInTheFileOrWithoutTheFileOtherIconsServe) {
    HWND window = MakeParent();
    struct Case {
        const char* name;
        std::wstring file;
        const wchar_t* resource;
        unsigned expected;
    } cases[] = {
        {"a file without a picture: the icon of files", Write("liesmich.ico", "kein Bild"), IDI_QUESTION,
         kIconApplication},
        {"no such file: the resource", dir_.Wide("fehlt.ico"), IDI_QUESTION, kIconQuestion},
        {"no file named: the resource", L"", IDI_WARNING, kIconExclamation},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadIcons(window, nullptr, c.resource, c.file.c_str());
        EXPECT_EQ(qx::SystemIconOf(Icon(window, 0)), c.expected);
        EXPECT_EQ(qx::SystemIconOf(Icon(window, 1)), c.expected);
    }
    // Nothing found: the window keeps what it shows.
    LoadIcons(window, reinterpret_cast<HINSTANCE>(1), IDI_QUESTION, nullptr);
    EXPECT_EQ(qx::SystemIconOf(Icon(window, 1)), kIconExclamation);
}
