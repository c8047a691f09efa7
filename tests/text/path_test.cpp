#include "qx/text/path.h"

#include <gtest/gtest.h>

namespace {

TEST(PathTest, SplitsIntoDriveFolderNameAndExtension) {
    struct Case {
        const wchar_t* path;
        const wchar_t* drive;
        const wchar_t* filePath;
        const wchar_t* fileName;
        const wchar_t* shortName;
        const wchar_t* ext;
    } const cases[] = {
        {L"C:\\a\\b.tar.gz", L"C:", L"C:\\a\\", L"b.tar.gz", L"b.tar", L"gz"},
        {L"c:/a/b.txt", L"c:", L"c:/a/", L"b.txt", L"b", L"txt"},
        {L"C:b.txt", L"C:", L"C:", L"b.txt", L"b", L"txt"},
        {L"C:", L"C:", L"C:", L"", L"", L""},
        {L"\\\\srv\\share\\x.doc", L"", L"\\\\srv\\share\\", L"x.doc", L"x", L"doc"},
        {L"\\tmp\\x", L"", L"\\tmp\\", L"x", L"x", L""},
        {L"a.b\\c", L"", L"a.b\\", L"c", L"c", L""},
        {L"a.", L"", L"", L"a.", L"a", L""},
        {L"C:\\a\\.profile", L"C:", L"C:\\a\\", L".profile", L"", L"profile"},
        {L"1:\\x", L"", L"1:\\", L"x", L"x", L""},  // not a drive letter
        {L"", L"", L"", L"", L"", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "path \"" << c.path << "\"");
        const CPath path(c.path);
        EXPECT_EQ(path.GetDrive(), c.drive);
        EXPECT_EQ(path.GetFilePath(), c.filePath);
        EXPECT_EQ(path.GetFileName(), c.fileName);
        EXPECT_EQ(path.GetShortFileName(), c.shortName);
        EXPECT_EQ(path.GetFileExt(), c.ext);
    }
}

TEST(PathTest, ComparesExtensionsIgnoringCase) {
    EXPECT_EQ(CPath(L"a.txt").IsFileExt(L"TXT"), 1);
    EXPECT_EQ(CPath(L"a.txt").IsFileExt(L".txt"), 0) << "given without its point";
    EXPECT_EQ(CPath(L"a").IsFileExt(L""), 1);
    EXPECT_EQ(CPath(L"a").IsFileExt(nullptr), 1);
    EXPECT_EQ(CPath(L"a.\u00C4").IsFileExt(L"\u00E4"), 1);
}

TEST(PathTest, KnowsAbsolutePaths) {
    struct Case {
        const wchar_t* path;
        int absolute;
    } const cases[] = {
        {L"C:x", 1}, {L"C:\\x", 1}, {L"\\\\server\\x", 1},
        // A leading separator names a place from the root on POSIX.
        {L"\\x", 1}, {L"/x", 1}, {L"\\", 1},
        {L"x", 0}, {L"..\\x", 0}, {L"", 0}, {L"1:x", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "path \"" << c.path << "\"");
        EXPECT_EQ(CPath(c.path).IsAbsolute(), c.absolute);
    }
}

TEST(PathTest, Joins) {
    struct Case {
        const wchar_t* left;
        const wchar_t* right;
        const wchar_t* joined;
    } const cases[] = {
        {L"C:\\data", L"x.txt", L"C:\\data\\x.txt"},
        {L"C:\\data\\", L"\\x.txt", L"C:\\data\\x.txt"},
        {L"C:\\data", L"\\x.txt", L"C:\\data\\x.txt"},
        {L"C:\\data/", L"/x.txt", L"C:\\data/x.txt"},
        {L"C:\\data\\", L"\\\\x.txt", L"C:\\data\\\\x.txt"},  // only one separator goes
        {L"", L"\\x", L"\\x"},
        {L"", nullptr, L""},
        {L"C:\\data", L"", L"C:\\data"},
        {L"C:\\data", nullptr, L"C:\\data"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "\"" << c.left << "\" ^ \"" << (c.right ? c.right : L"(null)") << "\"");
        EXPECT_EQ(CString(c.left) ^ c.right, c.joined);
    }
}

TEST(PathTest, ReplacesParts) {
    enum Op { kDrive, kFilePath, kFileName, kShortName, kExt };
    struct Case {
        const wchar_t* path;
        Op op;
        const wchar_t* argument;
        const wchar_t* result;
    } const cases[] = {
        {L"C:\\a\\b.doc", kExt, L"txt", L"C:\\a\\b.txt"},
        {L"C:\\a\\b.doc", kExt, L".txt", L"C:\\a\\b.txt"},
        {L"C:\\a\\b.doc", kExt, L"", L"C:\\a\\b"},
        {L"C:\\a\\b.doc", kExt, L".", L"C:\\a\\b"},
        {L"C:\\a\\b.doc", kExt, nullptr, L"C:\\a\\b"},
        {L"C:\\a\\b", kExt, L"txt", L"C:\\a\\b.txt"},
        {L"C:\\a\\b.", kExt, L"txt", L"C:\\a\\b.txt"},
        {L"C:\\a\\b..", kExt, L"", L"C:\\a\\b"},
        {L"", kExt, L"txt", L"txt"},
        {L"C:\\a\\b.txt", kShortName, L"c", L"C:\\a\\c.txt"},
        {L"C:\\a\\b", kShortName, L"c", L"C:\\a\\c"},
        {L"C:\\a\\b.", kShortName, L"c", L"C:\\a\\c."},
        {L"C:\\a\\b.txt", kShortName, L"", L"C:\\a\\.txt"},
        {L"C:b.txt", kShortName, nullptr, L"C:\\.txt"},
        {L"b.txt", kShortName, L"", L".txt"},
        {L"C:\\a\\b.txt", kFileName, L"c.doc", L"C:\\a\\c.doc"},
        {L"b.txt", kFileName, L"c.doc", L"c.doc"},
        {L"x\\b.txt", kFilePath, L"D:\\y", L"D:\\y\\b.txt"},
        {L"x\\b.txt", kFilePath, L"", L"b.txt"},
        {L"C:\\a", kDrive, L"d:", L"d:\\a"},
        {L"C:\\a", kDrive, L"", L"C:\\a"},
        {L"\\\\srv\\a", kDrive, L"D:", L"\\\\srv\\a"},  // a network path has no drive
        {L"\\a", kDrive, L"D:", L"\\a"},
        {L"a", kDrive, L"D:", L"a"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "path \"" << c.path << "\", operation " << c.op << ", argument \""
                                        << (c.argument ? c.argument : L"(null)") << "\"");
        CPath path(c.path);
        switch (c.op) {
            case kDrive: path.SetDrive(c.argument); break;
            case kFilePath: path.SetFilePath(CPath(c.argument)); break;
            case kFileName: path.SetFileName(c.argument); break;
            case kShortName: path.SetShortFileName(c.argument); break;
            case kExt: path.SetFileExt(c.argument); break;
        }
        EXPECT_EQ(path, c.result);
    }
}

TEST(PathTest, Normalizes) {
    struct Case {
        const wchar_t* path;
        const wchar_t* normalized;
    } const cases[] = {
        {L"C:\\a\\b\\..\\c", L"C:\\a\\c"},
        {L"C:/a//b/", L"C:\\a\\b"},
        {L" C:\\a\\.\\b\\ ", L"C:\\a\\b"},
        {L"C:\\a \\ b", L"C:\\a\\b"},
        {L"C:\\a \\ \\b", L"C:\\a\\b"},  // no doubled backslash where the spaces were
        {L"C:\\a\\\\\\b", L"C:\\a\\b"},
        {L"C:\\..\\x", L"C:\\..\\x"},
        {L"C:\\", L"C:"},
        {L"C:\\a\\b\\..\\..\\c", L"C:\\c"},
        {L"C:\\a\\b\\..", L"C:\\a"},
        {L"C:\\a\t\\b\\..", L"C:\\a"},     // white space bared at the end goes too
        {L"C:\\x\\..\t\\y\\..", L"C:"},  // and so does a ".." bared there
        {L"\\\\srv\\share\\\\a\\", L"\\\\srv\\share\\a"},
        {L"\\\\srv\\share\\..\\x", L"\\\\srv\\x"},
        {L"\\\\srv\\..\\x", L"\\\\srv\\..\\x"},
        {L"\\tmp\\a\\..\\b", L"\\tmp\\b"},
        {L"\\..\\x", L"\\..\\x"},
        // A relative path stays relative: "\\b" would name a file at the root.
        {L"a\\..\\b", L"b"},
        {L"a\\b\\..\\..\\c", L"c"},
        {L"a\\..\\..\\x", L"..\\x"},
        {L"..\\..\\x", L"..\\..\\x"},
        {L"..\\a\\..\\x", L"..\\x"},
        {L"a//b", L"a\\b"},
        {L"a\\.\\b", L"a\\b"},
        // Only a whole ".." leads up.
        {L"C:\\a\\..b", L"C:\\a\\..b"},
        {L"C:\\a\\b..\\c", L"C:\\a\\b..\\c"},
        {L"C:\\a\\...\\c", L"C:\\a\\...\\c"},
        // The root stays the root.
        {L"\\", L"\\"},
        {L"/", L"\\"},
        {L" ", L""},
        {L"\u3000", L""},
        {L"", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "path \"" << c.path << "\"");
        EXPECT_EQ(CPath(c.path).Normalized(), c.normalized);
        CPath inPlace(c.path);
        EXPECT_EQ(&inPlace.Normalize(), &inPlace);
        EXPECT_EQ(inPlace, c.normalized);
    }
}

TEST(PathTest, Trims) {
    EXPECT_EQ(CPath(L" \tC:\\a\\ /\\ \n").Trimmed(), L"C:\\a");
    EXPECT_EQ(CPath(L"\\").Trimmed(), L"");
    EXPECT_EQ(CPath(L" a b ").Trimmed(), L"a b");
}

TEST(PathTest, MakesPathsRelative) {
    struct Case {
        const wchar_t* path;
        const wchar_t* base;
        const wchar_t* relative;
    } const cases[] = {
        {L"C:\\x\\q", L"C:\\x\\y\\z", L"..\\..\\q"},
        {L"C:\\x\\y\\z", L"C:\\x", L"y\\z"},
        {L"C:\\x", L"C:\\x\\y", L"..\\"},
        {L"C:\\x", L"c:\\X\\", L""},
        {L"C:/x/y", L"C:\\x", L"y"},
        {L"C:\\x\\.\\y", L"C:\\x\\z\\..", L"y"},
        {L"D:\\x", L"C:\\x", L"D:\\x"},
        {L"C:\\x", L"C:\\y", L"C:\\x"},  // nothing in common
        {L"C:\\x", L"x", L"C:\\x"},
        {L"\\\\srv\\s\\a\\b", L"\\\\SRV\\s\\c", L"..\\a\\b"},
        {L"\\\\srv\\s\\a", L"\\\\other\\s\\a", L"\\\\srv\\s\\a"},
        {L"\\\\srv\\s\\a", L"\\srv\\s", L"\\\\srv\\s\\a"},
        // Compared as normalised: "//srv" is a network path, " C:" a drive.
        {L"//srv/s/a", L"\\\\srv\\s\\b", L"..\\a"},
        {L" C:\\x\\y", L"C:\\x", L"y"},
        {L"\\usr\\share\\a", L"\\usr\\lib", L"..\\share\\a"},
        {L"\\usr\\a", L"C:\\usr", L"\\usr\\a"},
        {L"a\\b", L"a", L"b"},
        {L"a\\b", L"a\\b", L""},
        // Which folder "..\\.." is cannot be told from the text.
        {L"..\\a", L"..\\..", L"..\\a"},
        {L".\\a", L".\\.", L".\\a"},
        {L"..\\a", L"..\\b", L"..\\a"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "\"" << c.path << "\" - \"" << c.base << "\"");
        EXPECT_EQ(CPath(c.path) - CPath(c.base), c.relative);
    }
}

TEST(PathTest, CompletesFileNames) {
    struct Case {
        const wchar_t* path;
        const wchar_t* folder;
        const wchar_t* ext;
        const wchar_t* completed;
    } const cases[] = {
        {L"a", L"C:\\data", L"txt", L"C:\\data\\a.txt"},
        {L"sub\\a.doc", L"C:\\data", L"txt", L"C:\\data\\a.doc"},  // the relative folder is replaced
        {L"C:\\x\\a", L"C:\\data", L"txt", L"C:\\x\\a.txt"},
        {L"\\x\\a", L"C:\\data", nullptr, L"\\x\\a"},
        {L"a", nullptr, nullptr, L"a"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "path \"" << c.path << "\"");
        CPath path(c.path);
        CompleteFileName(path, c.folder, c.ext);
        EXPECT_EQ(path, c.completed);
    }
}

TEST(PathTest, CleansPaths) {
    struct Case {
        const wchar_t* path;
        const wchar_t* cleaned;
    } const cases[] = {
        {L"C:\\a\\b\\..\\c", L"C:\\a\\c"},
        {L"C:\\a\\\\b", L"C:\\a\\b"},
        {L"C:\\a\\\\\\b", L"C:\\a\\\\b"},  // one pass: three become two
        {L"C:\\a\\b\\..\\..\\c", L"C:\\c"},
        {L"C:\\a\\b\\..", L"C:\\a\\"},
        {L"C:/a/b\\..\\c", L"C:/a/c"},
        {L"..\\x", L"..\\x"},
        {L"..", L".."},
        {L"a\\..\\b", L"b"},
        {L"a\\..\\..\\b", L"..\\b"},
        // A root has nothing above it; the cleaning stops there.
        {L"C:\\..\\x", L"C:\\..\\x"},
        {L"\\..\\x", L"\\..\\x"},
        {L"C:\\..\\a\\..\\x", L"C:\\..\\x"},
        {L"\\\\srv\\s\\a\\..\\b", L"\\\\srv\\s\\b"},
        {L"\\\\srv\\..\\b", L"\\\\srv\\..\\b"},
        // Two points inside a name are part of it.
        {L"C:\\Daten\\Bericht..pdf", L"C:\\Daten\\Bericht..pdf"},
        {L"C:\\a\\..b\\c", L"C:\\a\\..b\\c"},
        {L"", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "path \"" << c.path << "\"");
        CString path(c.path);
        CleanPath(path);
        EXPECT_EQ(path, c.cleaned);
    }
}

}  // namespace
