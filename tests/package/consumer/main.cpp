// Uses the installed library through its public headers only: builds a
// tree, packs and reads values, writes the tree as text and reads it back,
// reads it again through the convenience readers, uses the string helpers,
// translation and the framework exceptions, and creates a print engine; runs
// a dialog from an in-memory template modally through the UI host the
// environment names (the package test gives it a script that types a value
// and presses OK).
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

void ReadersAndHelpers() {
    CNode* root = nullptr;
    Expect(TreeItems::ReadFromString(L"[Anlage]\n\tKreis:Vorlauf:55\n[ENDE_Anlage]\n", root, 1) == 1 && root,
           "TreeItems::ReadFromString");
    if (root) ExpectText(root->GetStrLeafValue(L"", L"Kreis", 2), L"55", "value read by TreeItems");
    delete root;

    ExpectText(qxStrUtil::GetSubStr(L"a;b;c", 2, L';'), L"b", "qxStrUtil::GetSubStr");
    Expect(qxStrUtil::MatchesWildcardPattern(L"Map_DE.Region1", L"Map_*.Region?", 0), "wildcard match");

    // With no wordbook and no language module, texts come back as their keys.
    ExpectText(CtrString::translate(L"Abbrechen"), L"Abbrechen", "CtrString::translate");
    ExpectText(qx::TranslateMessage(L"@Button@OK"), L"OK", "message table");

    bool caught = false;
    try {
        throw CInvalidArgException();
    } catch (const CException& e) {
        caught = e.GetMessageText().GetLength() > 0;
    }
    Expect(caught, "CInvalidArgException caught as CException");

    CPrintEngine* engine = CPrintEngine::newInstance();
    Expect(engine && engine->GetPageCount() == 0, "a new print engine has no pages");
    delete engine;
}

}  // namespace

struct DialogResult {
    std::wstring value;
    int button = 0;
};

LRESULT ValueDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtr(dialog, DWLP_USER, lParam);
        return TRUE;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        auto* result = reinterpret_cast<DialogResult*>(GetWindowLongPtr(dialog, DWLP_USER));
        wchar_t text[64];
        GetDlgItemText(dialog, 101, text, 64);
        result->value = text;
        result->button = LOWORD(wParam);
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

void ScriptedDialog() {
    qx::DialogTemplate dialog;
    dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    dialog.rect = CRect(0, 0, 200, 60);
    dialog.title = L"Wert";
    dialog.items = {
        {WS_VISIBLE, 0, CRect(7, 7, 193, 17), 100, L"Static", L"Vorlauftemperatur:"},
        {WS_VISIBLE | WS_TABSTOP, WS_EX_CLIENTEDGE, CRect(7, 20, 193, 34), 101, L"Edit", L""},
        {WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, CRect(90, 40, 140, 54), IDOK, L"Button", L"OK"},
        {WS_VISIBLE | WS_TABSTOP, 0, CRect(143, 40, 193, 54), IDCANCEL, L"Button", L"Abbrechen"},
    };
    DialogResult result;
    const LRESULT answer = DialogBoxIndirectParam(dialog, nullptr, ValueDialogProc, reinterpret_cast<LPARAM>(&result));
    Expect(std::string(qx::CurrentUiHost().Name()) == "script", "the host QX_UI names");
    Expect(answer == IDOK && result.button == IDOK, "the scripted dialog ended with OK");
    Expect(result.value == L"55", "the scripted dialog got the typed value");

    // The family's message box, answered by the script's next line.
    int check = 0;
    const int answer2 = advMessageBox(L"Ersetzen?", L"", MB_YESNO | MB_ICONQUESTION, L"Frage", L"Immer", &check);
    Expect(answer2 == IDNO, "the family's box answered No");
}

int main() {
    PackedValues();
    TreeValues();
    ReadersAndHelpers();
    ScriptedDialog();
    if (g_failures == 0) std::puts("qxbase consumer: all checks passed");
    return g_failures == 0 ? 0 : 1;
}
