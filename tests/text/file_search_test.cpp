#include "qx/text/file_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qx/text/find_files.h"
#include "tests/support/fixtures.h"

namespace {

class FileSearchTest : public qx::test::DriveFolderTest {
protected:
    FileSearchTest() {
        Write("data/b.txt", "x");
        Write("data/A.txt", "x");
        Write("data/notes", "x");
        MakeFolder("data/Sub");
        MakeFolder("data/sub2/inner");
    }
    ~FileSearchTest() override { qx::ResetFileSearchStack(); }

    using Names = std::vector<std::wstring>;

    // Every name of a search through the free functions.
    static Names Collect(int (*first)(const wchar_t*, const wchar_t*, CString&), int (*next)(CString&),
                         const wchar_t* folder, const wchar_t* pattern) {
        Names names;
        CString name;
        for (int found = first(folder, pattern, name); found; found = next(name)) names.push_back(name.str());
        return names;
    }
};

TEST_F(FileSearchTest, ListsFilesOrFolders) {
    struct Case {
        const char* name;
        bool folders;
        const wchar_t* folder;
        const wchar_t* pattern;
        Names expected;
    } const cases[] = {
        {"files", false, L"C:\\data", L"*", {L"A.txt", L"b.txt", L"notes"}},
        {"files with a final backslash", false, L"C:\\data\\", L"*", {L"A.txt", L"b.txt", L"notes"}},
        {"files with a final slash", false, L"C:/data/", L"*.TXT", {L"A.txt", L"b.txt"}},
        {"folders", true, L"C:\\data", L"*", {L".", L"..", L"Sub", L"sub2"}},
        {"folders without extension", true, L"C:\\data", L"*.", {L".", L"..", L"Sub", L"sub2"}},
        // A final "?" may also match nothing.
        {"folders by pattern", true, L"C:\\data", L"sub?", {L"Sub", L"sub2"}},
        {"one sub-folder", true, L"C:\\data\\sub2", L"*", {L".", L"..", L"inner"}},
        {"nothing matches", false, L"C:\\data", L"*.csv", {}},
        {"only folders match", false, L"C:\\data", L"Sub*", {}},
        {"missing folder", true, L"C:\\missing", L"*", {}},
        {"a file as folder", false, L"C:\\data\\notes", L"*", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Names names = c.folders ? Collect(GetFirstDirName, GetNextDirName, c.folder, c.pattern)
                                      : Collect(GetFirstFileName, GetNextFileName, c.folder, c.pattern);
        EXPECT_EQ(names, c.expected);
        EXPECT_EQ(qx::OpenFileSearchCount(), 0) << "a finished or failed search leaves nothing open";
    }
}

TEST_F(FileSearchTest, NestedSearchesContinueTheOuterOne) {
    // A recursive walk: every folder of data with its folders.
    Names walk;
    CString outer;
    for (int found = GetFirstDirName(L"C:\\data", L"*", outer); found; found = GetNextDirName(outer)) {
        walk.push_back(outer.str());
        if (outer == L"." || outer == L"..") continue;
        const CString folder = L"C:\\data\\" + outer;
        CString inner;
        for (int more = GetFirstDirName(folder, L"*.", inner); more; more = GetNextDirName(inner))
            walk.push_back(outer.str() + L"\\" + inner.str());
        EXPECT_EQ(qx::OpenFileSearchCount(), 1);
    }
    EXPECT_EQ(walk, (Names{L".", L"..", L"Sub", L"Sub\\.", L"Sub\\..", L"sub2", L"sub2\\.", L"sub2\\..",
                           L"sub2\\inner"}));
}

TEST_F(FileSearchTest, AFailedStartLeavesTheOpenSearchOnTop) {
    CString name;
    ASSERT_EQ(GetFirstFileName(L"C:\\data", L"*", name), 1);
    EXPECT_EQ(GetFirstFileName(L"C:\\missing", L"*", name), 0);
    EXPECT_EQ(GetFirstDirName(L"C:\\data", L"*.csv", name), 0);
    EXPECT_EQ(name, L"A.txt");
    ASSERT_EQ(GetNextFileName(name), 1);
    EXPECT_EQ(name, L"b.txt");
}

TEST_F(FileSearchTest, TheKindIsThatOfTheFunctionCalled) {
    CString name;
    ASSERT_EQ(GetFirstFileName(L"C:\\data", L"*", name), 1);
    EXPECT_EQ(name, L"A.txt");
    ASSERT_EQ(GetNextDirName(name), 1);
    EXPECT_EQ(name, L"Sub");
    ASSERT_EQ(GetNextFileName(name), 0) << "nothing but folders after Sub";
    EXPECT_EQ(qx::OpenFileSearchCount(), 0);
    EXPECT_EQ(GetNextFileName(name), 0) << "no search open";
}

TEST_F(FileSearchTest, StopsTheTopSearchEarly) {
    CString name;
    ASSERT_EQ(GetFirstDirName(L"C:\\data", L"*", name), 1);
    ASSERT_EQ(GetFirstFileName(L"C:\\data", L"*", name), 1);
    StopDirIteration();
    ASSERT_EQ(GetNextDirName(name), 1);
    EXPECT_EQ(name, L"..") << "the outer search goes on";
    StopDirIteration();
    EXPECT_EQ(qx::OpenFileSearchCount(), 0);
    StopDirIteration();  // nothing open: nothing happens
    EXPECT_EQ(qx::OpenFileSearchCount(), 0);
}

TEST_F(FileSearchTest, RefusesThe65thSearch) {
    CString name;
    for (int i = 0; i < 64; ++i) ASSERT_EQ(GetFirstDirName(L"C:\\data", L"*", name), 1) << i;
    EXPECT_EQ(GetFirstDirName(L"C:\\data", L"*", name), 0);
    EXPECT_EQ(GetFirstFileName(L"C:\\data", L"*", name), 0);
    EXPECT_EQ(qx::OpenFileSearchCount(), 64);
    StopDirIteration();
    EXPECT_EQ(GetFirstFileName(L"C:\\data", L"*", name), 1);
}

TEST_F(FileSearchTest, CollectsFolderNames) {
    CStringArray names;
    names.Add(L"old");
    ASSERT_EQ(GetDirNames(L"C:\\data", L"*", names), 1);
    ASSERT_EQ(names.GetSize(), 4);
    EXPECT_EQ(names[0], L".");
    EXPECT_EQ(names[3], L"sub2");

    EXPECT_EQ(GetDirNames(L"C:\\data", L"*.txt", names), 1) << "files matched, so the search started";
    EXPECT_EQ(names.GetSize(), 0);
    names.Add(L"old");
    EXPECT_EQ(GetDirNames(L"C:\\data", L"*.csv", names), 0);
    EXPECT_EQ(names.GetSize(), 0);
    EXPECT_EQ(GetDirNames(L"C:\\missing", L"*", names), 0);
    EXPECT_EQ(qx::OpenFileSearchCount(), 0);
}

TEST_F(FileSearchTest, FindFilesObjectsAreIndependentAndStartOver) {
    CFindFiles files(L"C:\\data", L"*.txt", 1);
    CFindFiles folders(L"C:\\data\\", L"*", 0);
    CString name;
    Names seen;
    for (int round = 0; round < 2; ++round) {
        while (files.GetNext(name)) {
            seen.push_back(name.str());
            if (folders.GetNext(name)) seen.push_back(L"[" + name.str() + L"]");
        }
    }
    EXPECT_EQ(seen, (Names{L"A.txt", L"[.]", L"b.txt", L"[..]", L"A.txt", L"[Sub]", L"b.txt", L"[sub2]"}));
    EXPECT_EQ(qx::OpenFileSearchCount(), 0) << "objects do not use the stack";

    CFindFiles missing(L"C:\\missing", L"*", 1);
    EXPECT_EQ(missing.GetNext(name), 0);
    EXPECT_EQ(missing.GetNext(name), 0);
}

}  // namespace
