// The regedit export format, read and written: the files of the registry
// store and the files that `qxtool reg` imports and exports.
//
//   Windows Registry Editor Version 5.00        (or REGEDIT4)
//
//   [HKEY_CURRENT_USER\Software\Company\Env]
//   "Lang"="de"
//   @="default value"
//   "Count"=dword:0000002a
//   "Path"=hex(2):25,00,54,00,00,00             (REG_EXPAND_SZ, UTF-16LE bytes)
//   "Blob"=hex:01,02,03,04                      (a long list continues on the next
//                                               line after a trailing backslash)
//   "Old"=-                                     (deletes the value)
//   [-HKEY_CURRENT_USER\Software\Gone]          (deletes the key and its subkeys)
//
// Reading never fails: a line that is not understood is handed back as a
// kept line, so that a store can write it back instead of losing it.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "qx/platform/base/export.h"
#include "qx/platform/os/registry_value.h"

namespace qx {

enum class RegFileVersion { None, Regedit4, Regedit5 };

struct RegFileLine {
    enum class Kind { SetValue, DeleteValue, Kept };
    // Why a line was kept instead of read.
    enum class Flaw {
        NotUnderstood,
        CutShort,     // the file ends inside it (see ParseRegFile)
        InvalidName,  // a value name IsValidRegValueName refuses (too long, a zero)
    };
    Kind kind = Kind::Kept;
    Flaw flaw = Flaw::NotUnderstood;  // Kept only
    std::wstring name;  // the value name, "" for the default value (@)
    RegValue value;     // SetValue only
    std::wstring text;  // Kept only: the line as it stood, continuation lines joined by '\n'
    int lineNumber = 0; // of the first physical line, from 1
};

struct RegFileSection {
    std::wstring key;        // as written between the brackets, without the '-'
    bool remove = false;     // [-key]
    bool malformed = false;  // "[" without "]": key is empty, header is the line as it stood
    std::wstring header;
    int lineNumber = 0;
    std::vector<RegFileLine> lines;
};

struct RegFileContent {
    RegFileVersion version = RegFileVersion::None;
    std::vector<RegFileLine> leading;  // lines before the first section, all kept lines
    std::vector<RegFileSection> sections;
};

// The text of a file's bytes: UTF-16 (LE or BE) or UTF-8 after its mark;
// without a mark UTF-16LE when the second byte is zero, UTF-8 when the bytes
// are valid UTF-8, else the default 8-bit code page (old REGEDIT4 files). A
// UTF-16 file of odd length ends in half a character, read as U+FFFD.
QX_API std::wstring DecodeRegFileBytes(std::string_view bytes);

// The last line of a file is kept as cut short, not read, when the file
// ends inside it: when it is UTF-16 of odd length, when a hex list promises
// a next line that is not there, or when the line has no line end and its
// text could have gone on (an open quote, a hex list, a dword of fewer than
// eight digits). Files that regedit and this library write always end with a
// line end.
QX_API RegFileContent ParseRegText(std::wstring_view text);
QX_API RegFileContent ParseRegFile(std::string_view bytes);
// The same handing each section to *onSection* as soon as it is read, so
// that a large file need not be held twice; the content returned has no
// sections.
QX_API RegFileContent ParseRegFile(std::string_view bytes, const std::function<void(RegFileSection&)>& onSection);

enum class RegFileEncoding {
    Utf8,     // no mark, LF line ends
    Utf16Le,  // with mark and CR LF, as regedit writes and reads it
};

// Builds a file in the "Windows Registry Editor Version 5.00" form. A text
// value that holds a line break or a zero character is written as hex(1) or
// hex(2) bytes, since a quoted string must stay on its line.
class QX_API RegFileWriter {
public:
    // *expectedBytes*: room to reserve, such as the size of the file being
    // written again, so that a large file is not copied as it grows.
    explicit RegFileWriter(size_t expectedBytes = 0);

    void BeginSection(std::wstring_view key, bool remove = false);
    void WriteValue(std::wstring_view name, const RegValue& value);
    void WriteDeleteValue(std::wstring_view name);
    // A kept line, written as it stood.
    void WriteKept(std::wstring_view text);
    // Writes a parsed line back in its kind.
    void WriteLine(const RegFileLine& line);

    std::string Finish(RegFileEncoding encoding) const;

private:
    void WriteName(std::wstring_view name);
    // *text* with a backslash before every backslash and quote.
    void WriteEscaped(std::wstring_view text);

    std::string text_;  // UTF-8
};

}  // namespace qx
