// The messages the installation getters show. Internal to qx/install.
#pragma once

namespace qx::detail {

// Translates the 8-bit (code page 1252) *message*, puts *argument* in place
// of its "%s" and shows it. Only "%s" and "%%" are read from the text, so a
// translation with other conversions cannot reach for arguments that are
// not there.
void ShowRegMessage(const char* message, const wchar_t* argument = nullptr);

// The message texts, German, in code page 1252.
inline constexpr char kMsgCommonDir[] =
    "Der Pfad f\xFCr gemeinsam genutzte Dateien der quOrix GmbH wurde nicht gefunden.\n\xDC"
    "berpr\xFC"
    "fen Sie den Eintrag \n\"HKEY_LOCAL_MACHINE\\Software\\quOrix GmbH\\ENV\\COMMONFILES\"\nin der Registry";
inline constexpr char kMsgDllDir[] =
    "Das Verzeichnis der Dlls wurde nicht gefunden.\xDC"
    "berpr\xFC"
    "fen Sie den folgenden Pfad:\n%s";
inline constexpr char kMsgLanguage[] =
    "Der Eintrag f\xFCr die Sprache wurde nicht gefunden.\n\xDC"
    "berpr\xFC"
    "fen Sie den Eintrag \n\"HKEY_CURRENT_USER\\Software\\%s\\ENV\\Lang\"\nin der Registry";
inline constexpr char kMsgPrintLanguage[] =
    "Der Eintrag f\xFCr die Drucksprache wurde nicht gefunden.\n\xDC"
    "berpr\xFC"
    "fen Sie den Eintrag \n\"HKEY_CURRENT_USER\\Software\\%s\\ENV\\Printlang\"\nin der Registry";
inline constexpr char kMsgProjectManagement[] =
    "Die Projektverwaltung wurde nicht gefunden.\nEine Neuinstallation k\xF6nnte das Problem beheben.";
inline constexpr char kMsgUpdater[] =
    "Das Online-Update-Programm wurde nicht gefunden.\n\xDC"
    "berpr\xFC"
    "fen Sie bitte folgenden Pfad:\n%s";
inline constexpr char kMsgAddressBook[] =
    "Der Pfad f\xFCr das Addressbuch wurde nicht gefunden.\xDC"
    "berpr\xFC"
    "fen Sie den folgenden Pfad:\n%s";

}  // namespace qx::detail
