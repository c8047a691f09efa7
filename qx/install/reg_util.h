// Where the family is installed and what the user chose: the shared files
// folder, the family's library folder, manufacturer data folders, helper
// programs, display and print language and a few per-user settings, all
// found through the registry (qx/install/reg_functions.h) and the file
// system on every call.
//
// CRegUtil keeps two process-wide names, the company and the application.
// Set the company (setRegCompany) before anything else: the company's
// registry keys are built from it. Single-threaded, like the user interface
// that calls it. Getters with a `silent` flag show a message box on failure
// unless it is set.
#pragma once

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"
#include "qx/platform/base/list.h"

class QX_API CRegUtil {
public:
    // Replaces the company name; the application name only when
    // *application* is not null.
    static void setRegistryKey(const wchar_t* company, const wchar_t* application);
    // The stored names; null until set.
    static const wchar_t* getRegCompany();
    static const wchar_t* getRegApplikation();
    // "Software\\<company>\\Env" (company true) or "Software\\quOrix GmbH\\Env".
    // The first call defaults an unset company name to "quOrix GmbH".
    static CString getEnvKeyName(bool company);

    // Folders end with a backslash.
    static bool getCommonDir(CString& dir, bool company, bool silent);
    static bool getDllPath(CString& dir, bool silent);
    static bool getQuOsysDllPath(CString& dir, bool silent);
    static bool getProjektverwaltung(CString& path, bool silent);
    static bool getOnlineUpdate(CString& path, bool silent);
    static bool getOnlineUpdate2k(CString& path, bool silent);
    static bool getAdrPath20(CString& dir, bool silent);
    // Appends every manufacturer data folder (one holding a folder "MMD");
    // always true.
    static bool getAllHerstellerDirs(CStringList& dirs, bool skipReadOnly);
    static bool getAllHerstellerDirsReversed(CStringList& dirs, bool skipReadOnly);

    static bool getLanguage(CString& lang, bool silent);
    // "de" in *lang* (and false) when no print language is stored.
    static bool getPrintLanguage(CString& lang, bool silent);
    static bool setLanguage(CString lang);
    static bool setPrintLanguage(CString lang);
    // Appends the language variants base_xx.ext of *file* (an empty name and
    // the code xx each); gives their number.
    static int enumPrintLanguages(CString file, CStringList& names, CStringList& codes);
    static bool getLanguageKuerzel(unsigned short langId, CString& abbr);
    static int getLanguageCodepage(const CString& abbr);

    // The program that opens files of extension *ext*: the registry's file
    // associations, then the desktop's default application.
    static bool getAppFromExtension(const CString& ext, CString& app, bool quoted);
    static int getWindowsTempPath(CString& dir);
    // The registry's "Local AppData" shell folder, else $XDG_DATA_HOME
    // (~/.local/share).
    static bool getLocalAppDataPath(CString& dir);

    // A number value comes out formatted with "%d"; a value of another type
    // than text or number leaves *out* unchanged and still succeeds.
    static bool GetProfileStringLMachine(CString& out, const wchar_t* key, const wchar_t* name);
    static bool GetProfileStringCurUser(CString& out, const wchar_t* key, const wchar_t* name);
    static bool GetProfileIntCurUser(int& out, const wchar_t* key, const wchar_t* name);
    // Note the order: value first.
    static bool WriteProfileStringCurUser(const wchar_t* value, const wchar_t* key, const wchar_t* name);
    static CString ReadENVfromCU(CString name);
    static bool WriteENVtoCU(CString name, CString value);
    // HKEY_CURRENT_USER\software\<company>\<section>: the value *entry*, or
    // *def*. The setter deletes the value for a null *value* and the whole
    // section for a null *entry*; non-zero on success.
    static CString getRegCompanyProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* def);
    static int setRegCompanyProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* value);
};

// The same as CRegUtil::setRegistryKey(company, nullptr); family modules
// export it so that the loading application hands them its company.
QX_API void setRegCompany(const wchar_t* company);

namespace qx {

// Forgets the company and application names (for tests).
QX_API void ResetRegUtilNames();

}  // namespace qx
