// Uses the installed library through its public headers only: builds a
// tree, packs and reads values, writes the tree as text and reads it back.
// Exit status 0 when every result is as expected, 1 otherwise (each
// mismatch is named on stderr).
#include <cstdio>
#include <string>

#include <qx/qxbase.h>

namespace {

int g_failures = 0;

void Expect(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "qxbase consumer: %s\n", what);
    ++g_failures;
}

void ExpectText(const CString& actual, const wchar_t* expected, const char* what) {
    if (actual.Compare(expected) == 0) return;
    std::fprintf(stderr, "qxbase consumer: %s: got \"%s\"\n", what, qx::WideToUtf8(actual.str()).c_str());
    ++g_failures;
}

void PackedValues() {
    CString list;
    qxSubStrUtil::AddInit(L':');
    qxSubStrUtil::Add(L"Vorlauf");
    qxSubStrUtil::Add(L"10:30");
    qxSubStrUtil::Add(70);
    qxSubStrUtil::AddEnd(list);
    ExpectText(list, L"Vorlauf:10\u00AE30:70", "packed list");

    CString text;
    int number = 0;
    Expect(qxSubStrUtil::GetInit(list, L':'), "GetInit on a list");
    Expect(qxSubStrUtil::Get(text) && text.Compare(L"Vorlauf") == 0, "first packed value");
    Expect(qxSubStrUtil::Get(text) && text.Compare(L"10:30") == 0, "escaped packed value");
    Expect(!qxSubStrUtil::Get(number, false) && number == 70, "last packed value as a number");
}

void TreeValues() {
    CNode root(L"Anlage");
    CLeaf* name = root.AddLeaf(L"Name", L"Heizung Nord");
    Expect(name && name->GetOnlyValue().Compare(L"Heizung Nord") == 0, "leaf value");
    Expect(root.SetStrLeafValue(L"Kreise\\Kreis1\\", L"Temperaturen", 2, L"55"), "SetStrLeafValue");
    ExpectText(root.GetStrLeafValue(L"Kreise\\Kreis1\\", L"Temperaturen", 2), L"55", "value set by path");
    ExpectText(root.GetStrLeafValue(L"Kreise\\Kreis1\\", L"Temperaturen", 1, L':', L"x"), L"",
               "position filled in before the value");
    Expect(root.GetIntLeafValue(L"Kreise\\Fehlt\\", L"Temperaturen", 1, L':', -1) == -1, "default for a missing node");

    CString text;
    Expect(root.WriteToString(text), "WriteToString");
    CNode copy;
    const wchar_t* cursor = text;
    try {
        copy.ReadFromMem(cursor, L':');
    } catch (const CExcRead&) {
        Expect(false, "reading the written tree threw");
        return;
    }
    CString again;
    copy.WriteToString(again);
    ExpectText(again, text, "tree text after a round trip");
    Expect(qx::NamePoolSize() >= 5, "names in the pool");
}

}  // namespace

int main() {
    PackedValues();
    TreeValues();
    if (g_failures == 0) std::puts("qxbase consumer: all checks passed");
    return g_failures == 0 ? 0 : 1;
}
