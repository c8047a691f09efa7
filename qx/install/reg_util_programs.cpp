// CRegUtil: the program for a file type, the temporary and the local
// application data folders.
#include <cstdlib>
#include <optional>

#include "qx/platform/os/desktop_default_app.h"
#include "qx/install/reg_functions.h"
#include "qx/install/reg_util.h"
#include "qx/platform/base/utf.h"
#include "qx/platform/os/file_system.h"
#include "qx/platform/os/registry_store.h"
#include "qx/platform/os/xdg_folders.h"

namespace {

using qx::RegRoot;

CString ClassesDefault(const CString& key) {
    CString value;
    RegQueryValueW(HKEY_CLASSES_ROOT, key, nullptr, value);
    return value;
}

// The command of program identifier *progId*: its "open" verb, else the
// first verb that has a command.
CString CommandOfProgId(const CString& progId) {
    if (progId.IsEmpty()) return {};
    CString command = ClassesDefault(progId + L"\\shell\\open\\command");
    if (!command.IsEmpty()) return command;
    const auto verbs = qx::Registry().SubkeyNames(RegRoot::ClassesRoot, (progId + L"\\shell").str());
    if (!verbs) return {};
    for (const std::wstring& verb : *verbs) {
        command = ClassesDefault(progId + L"\\shell\\" + verb.c_str() + L"\\command");
        if (!command.IsEmpty()) return command;
    }
    return {};
}

// %NAME% replaced by the variable's value; unknown names and a lone '%'
// stay as they are.
CString ExpandEnvironment(const CString& text) {
    CString out;
    int i = 0;
    while (i < text.GetLength()) {
        const int close = text[i] == L'%' ? text.Find(L'%', i + 1) : -1;
        if (close > i + 1) {
            const std::string name = qx::WideToUtf8(text.Mid(i + 1, close - i - 1).str());
            if (const char* value = std::getenv(name.c_str())) {
                out += CString(qx::Utf8ToWide(value));
                i = close + 1;
                continue;
            }
        }
        out += text[i++];
    }
    return out;
}

// The program part of a command: cut before the first space, or else the
// first '%', after the last '.'.
CString ProgramOfCommand(const CString& command) {
    CString program = ExpandEnvironment(command);
    const int dot = program.ReverseFind(L'.');
    if (dot < 0) return program;
    int cut = program.Find(L' ', dot);
    if (cut < 0) cut = program.Find(L'%', dot);
    return cut < 0 ? program : program.Left(cut);
}

void ApplyQuotes(CString& program, bool quoted) {
    if (quoted) {
        if (program.IsEmpty() || program[0] != L'"') program.Insert(0, L'"');
        if (program.GetLength() < 2 || program[program.GetLength() - 1] != L'"') program += L'"';
        return;
    }
    if (!program.IsEmpty() && program[0] == L'"') program.Delete(0);
    if (!program.IsEmpty() && program[program.GetLength() - 1] == L'"') program.Delete(program.GetLength() - 1);
}

}  // namespace

bool CRegUtil::getAppFromExtension(const CString& ext, CString& app, bool quoted) {
    const CString dotted = !ext.IsEmpty() && ext[0] == L'.' ? ext : L"." + ext;
    const CString fileExts = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\" + dotted;
    CString choice;
    RegQueryValueW(HKEY_CURRENT_USER, fileExts + L"\\UserChoice", L"ProgId", choice);
    CString command = CommandOfProgId(choice);
    if (command.IsEmpty()) command = CommandOfProgId(ClassesDefault(dotted));

    CString program;
    if (!command.IsEmpty()) {
        program = ProgramOfCommand(command);
    } else {
        // The desktop's default application; its Exec line already gives the
        // program alone.
        const auto type = qx::MimeTypeOfExtension(dotted.str());
        const auto desktopProgram = type ? qx::DefaultProgramForMimeType(*type) : std::nullopt;
        if (!desktopProgram) return false;
        program = *desktopProgram;
    }
    ApplyQuotes(program, quoted);
    app = program;
    return true;
}

int CRegUtil::getWindowsTempPath(CString& dir) {
    dir = qx::TempDirectory();
    if (!qx::DirectoryExists(dir.str())) qx::CreateDirectories(dir.str());
    return qx::DirectoryExists(dir.str()) ? 1 : 0;
}

bool CRegUtil::getLocalAppDataPath(CString& dir) {
    CString folder;
    RegQueryValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                   L"Local AppData", folder);
    if (folder.IsEmpty()) folder = qx::XdgDataHome();
    if (folder.IsEmpty()) return false;
    dir = folder + L"\\";
    return true;
}
