#include "qx/platform/os/dynamic_library.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(DynamicLibraryTest, FamilyNamesAlsoStandForSharedObjects) {
    using Names = std::vector<std::wstring>;
    EXPECT_EQ(qx::LibraryFileNames(L"C:\\Dll\\Tessel100x64.dll"), (Names{L"C:\\Dll\\Tessel100x64.dll",
                                                                           L"C:\\Dll\\Tessel100x64.so"}));
    EXPECT_EQ(qx::LibraryFileNames(L"Tessel.DLL"), (Names{L"Tessel.DLL", L"Tessel.so"}));
    EXPECT_EQ(qx::LibraryFileNames(L"libm.so.6"), (Names{L"libm.so.6"}));
    EXPECT_EQ(qx::LibraryFileNames(L"dll"), (Names{L"dll"}));
}

}  // namespace
