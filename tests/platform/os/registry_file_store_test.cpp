#include "qx/platform/os/registry_file_store.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "qx/platform/base/utf.h"
#include "qx/platform/os/file_system.h"
#include "qx/platform/os/native_path.h"
#include "tests/support/fixtures.h"
#include "tests/support/test_support.h"

namespace {

using qx::RegRoot;
using qx::RegValue;

class RegistryFileStoreTest : public ::testing::Test {
protected:
    qx::RegistryFiles Files() const {
        return {qx::FromNativePath(dir_.Native("system.reg")), qx::FromNativePath(dir_.Native("user.reg"))};
    }
    // A store as another process would have it: its own view of the files.
    qx::FileRegistryStore NewStore() const { return qx::FileRegistryStore(Files()); }
    std::string SystemFile() const { return qx::test::ReadBytes(dir_.path() / "system.reg"); }
    std::string UserFile() const { return qx::test::ReadBytes(dir_.path() / "user.reg"); }

    qx::test::TempDir dir_;
};

std::optional<std::wstring> Text(qx::RegistryStore& store, RegRoot root, const wchar_t* key, const wchar_t* name) {
    const auto value = store.GetValue(root, key, name);
    return value ? value->AsText() : std::nullopt;
}

TEST_F(RegistryFileStoreTest, NamesCompareWithoutCaseAndKeepTheirFirstSpelling) {
    auto store = NewStore();
    ASSERT_TRUE(store.SetValue(RegRoot::CurrentUser, L"Software\\Acme\\Env", L"Lang", RegValue::Text(L"de")));
    ASSERT_TRUE(store.SetValue(RegRoot::CurrentUser, L"SOFTWARE\\acme\\ENV\\Sub", L"LANG", RegValue::Text(L"x")));
    ASSERT_TRUE(store.SetValue(RegRoot::CurrentUser, L"software\\ACME\\env", L"lang", RegValue::Text(L"fr")));

    EXPECT_EQ(Text(store, RegRoot::CurrentUser, L"sOfTwArE\\AcMe\\eNv", L"LaNg"), L"fr");
    EXPECT_EQ(store.ValueNames(RegRoot::CurrentUser, L"software\\acme\\env"), std::vector<std::wstring>{L"Lang"});
    EXPECT_EQ(store.SubkeyNames(RegRoot::CurrentUser, L"SOFTWARE\\ACME\\ENV"), std::vector<std::wstring>{L"Sub"});
    EXPECT_NE(UserFile().find("[HKEY_CURRENT_USER\\Software\\Acme\\Env\\Sub]"), std::string::npos);
}

TEST_F(RegistryFileStoreTest, KeysAndValuesOfEachKind) {
    auto store = NewStore();
    ASSERT_TRUE(store.CreateKey(RegRoot::LocalMachine, L"Software\\A\\B\\C"));
    EXPECT_TRUE(store.KeyExists(RegRoot::LocalMachine, L"Software\\A\\B"));
    EXPECT_TRUE(store.KeyExists(RegRoot::LocalMachine, L"\\Software\\A\\"));
    EXPECT_FALSE(store.KeyExists(RegRoot::CurrentUser, L"Software\\A"));
    EXPECT_EQ(store.ValueNames(RegRoot::LocalMachine, L"Software\\A"), std::vector<std::wstring>{});
    EXPECT_EQ(store.ValueNames(RegRoot::LocalMachine, L"Software\\Missing"), std::nullopt);

    ASSERT_TRUE(store.SetValue(RegRoot::LocalMachine, L"Software\\A", L"n", RegValue::Number(7)));
    ASSERT_TRUE(store.SetValue(RegRoot::LocalMachine, L"Software\\A", L"", RegValue::Text(L"default")));
    ASSERT_TRUE(store.SetValue(RegRoot::LocalMachine, L"Software\\A", L"b", RegValue::Bytes("\x01\x02")));
    EXPECT_EQ(store.ValueNames(RegRoot::LocalMachine, L"Software\\A"), (std::vector<std::wstring>{L"n", L"", L"b"}));

    EXPECT_TRUE(store.DeleteValue(RegRoot::LocalMachine, L"Software\\A", L"N"));
    EXPECT_FALSE(store.DeleteValue(RegRoot::LocalMachine, L"Software\\A", L"n"));
    EXPECT_FALSE(store.DeleteValue(RegRoot::LocalMachine, L"Software\\Missing", L"n"));
    EXPECT_TRUE(store.DeleteKey(RegRoot::LocalMachine, L"software\\a"));
    EXPECT_FALSE(store.KeyExists(RegRoot::LocalMachine, L"Software\\A\\B\\C"));
    EXPECT_TRUE(store.KeyExists(RegRoot::LocalMachine, L"Software"));
    EXPECT_FALSE(store.DeleteKey(RegRoot::LocalMachine, L"Software\\A"));
    EXPECT_FALSE(store.DeleteKey(RegRoot::LocalMachine, L""));

    // What the store wrote, a new one reads.
    auto again = NewStore();
    EXPECT_TRUE(again.KeyExists(RegRoot::LocalMachine, L"Software"));
    EXPECT_FALSE(again.KeyExists(RegRoot::LocalMachine, L"Software\\A"));
}

TEST_F(RegistryFileStoreTest, RefusesWhatTheFileCannotHold) {
    auto store = NewStore();
    auto nested = [](int depth, const std::wstring& name) {
        std::wstring key = name;
        for (int i = 1; i < depth; ++i) key += L"\\" + name;
        return key;
    };
    const std::wstring astral(128, L'\U0001F600');  // 256 UTF-16 code units
    const struct {
        const char* name;
        std::wstring key;
        std::wstring valueName;
        bool stored;
    } cases[] = {
        {"empty key name", L"a\\\\b", L"x", false},
        {"line break in key", L"a\nb", L"x", false},
        {"line break in name", L"a", L"line\nbreak", false},
        {"carriage return in name", L"a", L"cr\r", false},
        // Windows' limits, which also keep a hostile key from costing
        // time with the square of its length.
        {"key name of 255", std::wstring(255, L'n'), L"x", true},
        {"key name of 256", std::wstring(256, L'n'), L"x", false},
        {"key name of 255 UTF-16 code units", astral.substr(1) + L"n", L"x", true},
        {"key name of 256 UTF-16 code units", astral, L"x", false},
        {"512 deep", nested(512, L"k"), L"x", true},
        {"513 deep", nested(513, L"k"), L"x", false},
        {"key path of 32,767", nested(128, std::wstring(255, L'p')), L"x", true},
        {"key path beyond 32,767", nested(128, std::wstring(255, L'p')) + L"\\k", L"x", false},
        {"value name of 16,383", L"v", std::wstring(16383, L'v'), true},
        {"value name of 16,384", L"v", std::wstring(16384, L'v'), false},
        {"value name of 16,384 UTF-16 code units", L"v", std::wstring(8192, L'\U0001F600'), false},
    };
    auto expectStored = [&](RegRoot root, const std::wstring& key, const std::wstring& valueName, bool stored) {
        EXPECT_EQ(store.SetValue(root, key, valueName, RegValue::Text(L"v")), stored);
        EXPECT_EQ(store.GetValue(root, key, valueName).has_value(), stored);
        // What was stored, the file gives back.
        EXPECT_EQ(NewStore().GetValue(root, key, valueName).has_value(), stored);
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        expectStored(RegRoot::CurrentUser, c.key, c.valueName, c.stored);
    }
    // A class key lies two levels deeper in its file than it is named.
    SCOPED_TRACE("class keys");
    expectStored(RegRoot::ClassesRoot, nested(510, L"c"), L"x", true);
    expectStored(RegRoot::ClassesRoot, nested(511, L"c"), L"x", false);
}

TEST_F(RegistryFileStoreTest, ALastLineCutShortIsNeverReadAsAValue) {
    qx::test::WriteBytes(dir_.path() / "user.reg",
                         "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\K]\n\"a\"=\"1\"\n"
                         "\"h\"=hex:01,02,\\\n  03,0");
    auto store = NewStore();
    EXPECT_EQ(store.GetValue(RegRoot::CurrentUser, L"K", L"h"), std::nullopt);
    ASSERT_TRUE(store.SetValue(RegRoot::CurrentUser, L"K", L"b", RegValue::Text(L"2")));
    // Kept for a person to mend, commented out so that its new line end
    // does not make it a value.
    EXPECT_NE(UserFile().find(";\"h\"=hex:01,02,\\\n;  03,0\n"), std::string::npos) << UserFile();
    EXPECT_EQ(NewStore().GetValue(RegRoot::CurrentUser, L"K", L"h"), std::nullopt);
    EXPECT_EQ(Text(store, RegRoot::CurrentUser, L"K", L"a"), L"1");
}

TEST_F(RegistryFileStoreTest, SeesWhatAnotherProcessWrote) {
    auto reader = NewStore();
    auto writer = NewStore();
    EXPECT_EQ(Text(reader, RegRoot::CurrentUser, L"K", L"v"), std::nullopt);
    for (const wchar_t* value : {L"one", L"two", L"three"}) {
        ASSERT_TRUE(writer.SetValue(RegRoot::CurrentUser, L"K", L"v", RegValue::Text(value)));
        EXPECT_EQ(Text(reader, RegRoot::CurrentUser, L"K", L"v"), value);
    }
    // A change made to the file by hand, even of the same size, is seen too.
    std::string file = UserFile();
    file.replace(file.find("three"), 5, "THREE");
    qx::test::WriteBytes(dir_.path() / "user.reg", file);
    EXPECT_EQ(Text(reader, RegRoot::CurrentUser, L"K", L"v"), L"THREE");
    // A writer that read the file before brings itself up to date under the
    // lock instead of writing its old view back.
    ASSERT_TRUE(reader.SetValue(RegRoot::CurrentUser, L"K", L"w", RegValue::Text(L"x")));
    ASSERT_TRUE(writer.SetValue(RegRoot::CurrentUser, L"K", L"y", RegValue::Text(L"z")));
    EXPECT_EQ(NewStore().ValueNames(RegRoot::CurrentUser, L"K"), (std::vector<std::wstring>{L"v", L"w", L"y"}));
}

TEST_F(RegistryFileStoreTest, KeepsWhatItDoesNotUnderstand) {
    qx::test::WriteBytes(dir_.path() / "user.reg",
                         "Windows Registry Editor Version 5.00\n; written by hand\n\n"
                         "[HKEY_CURRENT_USER\\K]\n\"a\"=\"1\"\nthis is no value\n\"d\"=dword:xyz\n"
                         "[HKEY_USERS\\.DEFAULT\\X]\n\"u\"=\"2\"\n"
                         "[HKEY_CURRENT_USER\\Broken\n\"b\"=\"3\"\n");
    auto store = NewStore();
    EXPECT_EQ(Text(store, RegRoot::CurrentUser, L"K", L"a"), L"1");
    EXPECT_FALSE(store.KeyExists(RegRoot::CurrentUser, L"Broken"));
    ASSERT_TRUE(store.SetValue(RegRoot::CurrentUser, L"K", L"new", RegValue::Text(L"4")));

    const std::string file = UserFile();
    for (const char* line : {"; written by hand", "this is no value", "\"d\"=dword:xyz", "[HKEY_USERS\\.DEFAULT\\X]",
                             "\"u\"=\"2\"", "[HKEY_CURRENT_USER\\Broken\n\"b\"=\"3\"", "\"new\"=\"4\""}) {
        SCOPED_TRACE(line);
        EXPECT_NE(file.find(line), std::string::npos);
    }
    // Written back once, not once per write.
    ASSERT_TRUE(store.SetValue(RegRoot::CurrentUser, L"K", L"new", RegValue::Text(L"5")));
    const std::string again = UserFile();
    EXPECT_EQ(again.find("this is no value"), again.rfind("this is no value"));
}

TEST_F(RegistryFileStoreTest, ClassesRootIsTheMachinesClassesUnderTheUsers) {
    auto store = NewStore();
    ASSERT_TRUE(store.SetValue(RegRoot::ClassesRoot, L".txt", L"", RegValue::Text(L"txtfile")));
    EXPECT_NE(SystemFile().find("[HKEY_LOCAL_MACHINE\\Software\\Classes\\.txt]"), std::string::npos);
    EXPECT_EQ(Text(store, RegRoot::LocalMachine, L"Software\\Classes\\.TXT", L""), L"txtfile");

    // A per-user class hides the machine's and takes the writes to its key.
    ASSERT_TRUE(store.SetValue(RegRoot::CurrentUser, L"Software\\Classes\\.txt", L"", RegValue::Text(L"mine")));
    EXPECT_EQ(Text(store, RegRoot::ClassesRoot, L".txt", L""), L"mine");
    ASSERT_TRUE(store.SetValue(RegRoot::ClassesRoot, L".txt", L"Content Type", RegValue::Text(L"text/plain")));
    EXPECT_EQ(Text(store, RegRoot::CurrentUser, L"Software\\Classes\\.txt", L"Content Type"), L"text/plain");
    EXPECT_EQ(store.ValueNames(RegRoot::ClassesRoot, L".txt"), (std::vector<std::wstring>{L"", L"Content Type"}));

    // Both views merge in listings, each name once.
    ASSERT_TRUE(store.CreateKey(RegRoot::LocalMachine, L"Software\\Classes\\.doc"));
    EXPECT_EQ(store.SubkeyNames(RegRoot::ClassesRoot, L""), (std::vector<std::wstring>{L".txt", L".doc"}));

    // A file written on Windows may name the root itself.
    qx::test::WriteBytes(dir_.path() / "system.reg", "REGEDIT4\n[HKEY_CLASSES_ROOT\\.pdf]\n@=\"pdffile\"\n");
    EXPECT_EQ(Text(store, RegRoot::ClassesRoot, L".pdf", L""), L"pdffile");
}

TEST_F(RegistryFileStoreTest, ApplyStoresABatchOnceAndCountsWhatTookEffect) {
    auto store = NewStore();
    const std::vector<qx::RegEdit> edits = {
        {qx::RegEdit::Op::SetValue, RegRoot::CurrentUser, L"K", L"a", RegValue::Text(L"1")},
        {qx::RegEdit::Op::SetValue, RegRoot::LocalMachine, L"K", L"b", RegValue::Number(2)},
        {qx::RegEdit::Op::DeleteValue, RegRoot::CurrentUser, L"K", L"missing", {}},
        {qx::RegEdit::Op::DeleteKey, RegRoot::CurrentUser, L"Nope", L"", {}},
        {qx::RegEdit::Op::SetValue, RegRoot::CurrentUser, L"bad\\\\key", L"a", RegValue::Text(L"1")},
        {qx::RegEdit::Op::DeleteValue, RegRoot::CurrentUser, L"K", L"A", {}},
    };
    EXPECT_EQ(store.Apply(edits), 3u);
    EXPECT_TRUE(store.KeyExists(RegRoot::CurrentUser, L"K"));
    EXPECT_EQ(store.GetValue(RegRoot::CurrentUser, L"K", L"a"), std::nullopt);
    EXPECT_EQ(store.GetValue(RegRoot::LocalMachine, L"K", L"b"), RegValue::Number(2));
}

TEST_F(RegistryFileStoreTest, AFailedWriteKeepsTheFileAndTheStoreConsistent) {
    qx::test::WriteBytes(dir_.path() / "blocker", "a file where a folder should be");
    qx::FileRegistryStore store({qx::FromNativePath(dir_.Native("blocker/system.reg")),
                                 qx::FromNativePath(dir_.Native("blocker/user.reg"))});
    EXPECT_FALSE(store.SetValue(RegRoot::CurrentUser, L"K", L"a", RegValue::Text(L"1")));
    EXPECT_EQ(store.Apply(std::vector<qx::RegEdit>{{qx::RegEdit::Op::CreateKey, RegRoot::CurrentUser, L"K", L"", {}}}),
              std::nullopt);
    EXPECT_FALSE(store.KeyExists(RegRoot::CurrentUser, L"K"));
}

// A batch for both hives is stored in both or in neither: a read-only
// system.reg keeps the user's file as it was.
TEST_F(RegistryFileStoreTest, ABatchThatOneHiveRefusesChangesNeither) {
    auto store = NewStore();
    ASSERT_TRUE(store.SetValue(RegRoot::LocalMachine, L"K", L"old", RegValue::Text(L"machine")));
    ASSERT_TRUE(store.SetValue(RegRoot::CurrentUser, L"K", L"old", RegValue::Text(L"user")));
    const std::string system = SystemFile(), user = UserFile();
    ASSERT_TRUE(qx::ChangeFileAttributes(Files().system, qx::kFileAttributeReadOnly));

    const std::vector<qx::RegEdit> mixed = {
        {qx::RegEdit::Op::SetValue, RegRoot::CurrentUser, L"K", L"new", RegValue::Text(L"user")},
        {qx::RegEdit::Op::SetValue, RegRoot::LocalMachine, L"K", L"new", RegValue::Text(L"machine")},
    };
    EXPECT_EQ(store.Apply(mixed), std::nullopt);
    EXPECT_EQ(UserFile(), user);
    EXPECT_EQ(SystemFile(), system);
    EXPECT_EQ(store.GetValue(RegRoot::CurrentUser, L"K", L"new"), std::nullopt);
    EXPECT_EQ(NewStore().GetValue(RegRoot::CurrentUser, L"K", L"new"), std::nullopt);
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path()))
        EXPECT_EQ(entry.path().extension() == ".tmp", false) << entry.path() << " was left behind";

    // Once the machine's file may be written again, the same batch goes to both.
    ASSERT_TRUE(qx::ChangeFileAttributes(Files().system, qx::kFileAttributeNormal));
    EXPECT_EQ(store.Apply(mixed), 2u);
    EXPECT_EQ(Text(store, RegRoot::LocalMachine, L"K", L"new"), L"machine");
    auto other = NewStore();
    EXPECT_EQ(Text(other, RegRoot::CurrentUser, L"K", L"new"), L"user");
}

TEST_F(RegistryFileStoreTest, FollowsTheRegistryFolderVariable) {
    qx::test::TempDir other;
    qx::FileRegistryStore store;
    {
        qx::test::ScopedEnv env("QX_REGISTRY_DIR", dir_.path().string());
        ASSERT_TRUE(store.SetValue(RegRoot::CurrentUser, L"K", L"v", RegValue::Text(L"first")));
    }
    {
        qx::test::ScopedEnv env("QX_REGISTRY_DIR", other.path().string() + "/");
        EXPECT_FALSE(store.KeyExists(RegRoot::CurrentUser, L"K"));
        ASSERT_TRUE(store.SetValue(RegRoot::LocalMachine, L"K", L"v", RegValue::Text(L"second")));
        EXPECT_TRUE(std::filesystem::exists(other.path() / "system.reg"));
    }
    EXPECT_FALSE(std::filesystem::exists(dir_.path() / "system.reg"));
    EXPECT_NE(UserFile().find("first"), std::string::npos);
}

TEST(RegistryLocationTest, DefaultsFollowTheBaseFolders) {
    qx::test::ScopedEnv noDir("QX_REGISTRY_DIR", std::nullopt);
    {
        qx::test::ScopedEnv config("XDG_CONFIG_HOME", "/srv/cfg");
        const auto files = qx::DefaultRegistryFiles();
        EXPECT_EQ(files.system, qx::FromNativePath("/etc/qxbase/system.reg"));
        EXPECT_EQ(files.user, qx::FromNativePath("/srv/cfg/qxbase/user.reg"));
    }
    qx::test::ScopedEnv relative("XDG_CONFIG_HOME", "relative/cfg");
    qx::test::ScopedEnv home("HOME", "/home/someone");
    EXPECT_EQ(qx::DefaultRegistryFiles().user, qx::FromNativePath("/home/someone/.config/qxbase/user.reg"));
}

TEST_F(RegistryFileStoreTest, TwoProcessesWritingAtOnceLoseNothing) {
    constexpr int kWritesEach = 200;
    std::vector<pid_t> children;
    for (int process = 0; process < 2; ++process) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            auto store = NewStore();
            bool ok = true;
            for (int i = 0; i < kWritesEach; ++i) {
                const std::wstring name = L"p" + std::to_wstring(process) + L"_" + std::to_wstring(i);
                ok &= store.SetValue(RegRoot::CurrentUser, L"Shared", name, RegValue::Number(static_cast<unsigned>(i)));
            }
            _exit(ok ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    auto store = NewStore();
    for (int process = 0; process < 2; ++process) {
        for (int i = 0; i < kWritesEach; ++i) {
            const std::wstring name = L"p" + std::to_wstring(process) + L"_" + std::to_wstring(i);
            SCOPED_TRACE(qx::WideToUtf8(name));
            EXPECT_EQ(store.GetValue(RegRoot::CurrentUser, L"Shared", name), RegValue::Number(static_cast<unsigned>(i)));
        }
    }
}

}  // namespace
