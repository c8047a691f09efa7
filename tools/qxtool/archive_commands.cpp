// qxtool archive get / archive list / encode / decode: the data archives of
// a folder and the encoded file form.
#include <cstdio>
#include <string>
#include <vector>

#include "qx/archive/archive_path.h"
#include "qx/archive/cabinet_handling.h"
#include "qx/archive/encoded_file.h"
#include "qx/platform/base/format.h"
#include "qx/platform/base/utf.h"
#include "qx/platform/os/archive_reader.h"
#include "qx/platform/os/native_path.h"
#include "tools/qxtool/command.h"
#include "tools/qxtool/shown_text.h"

namespace qxtool {
namespace {

std::vector<std::string> Plain(const std::vector<std::string>& input, size_t count, const char* what) {
    std::vector<std::string> args = input;
    RejectUnknownOptions(args);
    if (args.size() != count) throw UsageError(what);
    return args;
}

// Paths are printed as native paths, ready for the next program.
std::wstring Printable(const std::wstring& libraryPath) {
    const auto native = qx::ToNativePath(libraryPath);
    return native ? Wide(*native) : libraryPath;
}

// Why the archive beside *path* cannot give its copy, when the listing
// tells: "" otherwise.
std::string WhyNotExtracted(const std::wstring& path) {
    const CString normalized = qx::NormalizeArchivePath(path.c_str());
    const int slash = normalized.ReverseFind(L'\\');
    if (slash < 0) return "";
    const auto archive = qx::FindDataArchive(normalized.Left(slash + 1));
    const auto reader = archive ? qx::ArchiveReader::Open(archive->path, archive->kind) : nullptr;
    if (!reader) return "";
    for (const qx::ArchiveMember& m : reader->Members()) {
        if (qx::IsMemberFor(m, normalized.Mid(slash + 1)) && !m.extractable)
            return " (its member of " + std::to_string(m.size) +
                   " bytes is stored with 64-bit sizes, the form of members of 4 GiB and more, which are not extracted)";
    }
    return "";
}

int Get(const std::vector<std::string>& input) {
    const auto args = Plain(input, 1, "expects one path");
    CString usable;
    const int available = CCabinetHandling::getUncabedPathName(Wide(args[0]).c_str(), usable);
    if (!available) throw Failure("not available: " + args[0] + WhyNotExtracted(Wide(args[0])));
    PrintUtf8(Printable(usable.str()) + L"\n");
    return kExitOk;
}

// "RHSA" with '-' for each attribute the member lacks.
std::wstring AttributeLetters(unsigned attributes) {
    std::wstring letters = L"----";
    if (attributes & 0x01) letters[0] = L'R';
    if (attributes & 0x02) letters[1] = L'H';
    if (attributes & 0x04) letters[2] = L'S';
    if (attributes & 0x20) letters[3] = L'A';
    return letters;
}

int List(const std::vector<std::string>& input) {
    const auto args = Plain(input, 1, "expects one folder");
    const auto archive = qx::FindDataArchive(Wide(args[0]).c_str());
    if (!archive) throw Failure("no data.zip or data.cab in " + args[0]);
    const auto reader = qx::ArchiveReader::Open(archive->path, archive->kind);
    if (!reader) throw Failure("not a readable archive: " + qx::WideToUtf8(archive->path));
    PrintUtf8(Printable(archive->path) + L"\n");
    for (const qx::ArchiveMember& m : reader->Members()) {
        PrintUtf8(qx::Format(L"%04u-%02u-%02u %02u:%02u:%02u  %s  %12llu  %s\n", 1980u + (m.dosDate >> 9),
                             (m.dosDate >> 5) & 0x0Fu, m.dosDate & 0x1Fu, m.dosTime >> 11u, (m.dosTime >> 5) & 0x3Fu,
                             (m.dosTime & 0x1Fu) * 2, AttributeLetters(m.attributes).c_str(),
                             static_cast<unsigned long long>(m.size), EscapeControls(m.name).c_str()));
    }
    return kExitOk;
}

int Encode(const std::vector<std::string>& input) {
    const auto args = Plain(input, 2, "expects an input and an output file");
    if (!Codieren(Wide(args[0]).c_str(), Wide(args[1]).c_str()))
        throw Failure("cannot encode " + args[0] + " into " + args[1]);
    return kExitOk;
}

int Decode(const std::vector<std::string>& input) {
    std::vector<std::string> args = input;
    const bool head = TakeFlag(args, "--head");
    args = Plain(args, 2, "expects an input and an output file");
    const std::wstring in = Wide(args[0]), out = Wide(args[1]);
    if (!(head ? qx::DecodeHead(in.c_str(), out.c_str()) : Decodieren(in.c_str(), out.c_str())))
        throw Failure("cannot decode " + args[0] + " into " + args[1]);
    return kExitOk;
}

constexpr Command kCommands[] = {
    {"archive get", "PATH", "print the path of a usable copy of a data file",
     "The file on disk when it is at least as new as its copy in the folder's\n"
     "data.zip (or, without one, data.cab); otherwise the member is extracted\n"
     "into the cache folder $TMPDIR/TempCpr (a folder for the user alone) and\n"
     "that copy's path is printed. Exit status 1 when the file is nowhere.",
     Get},
    {"archive list", "FOLDER", "list the members of a folder's data.zip or data.cab",
     "One line per member: its date and time (local time, as stored), its\n"
     "attributes (R read-only, H hidden, S system, A archive), its size and\n"
     "its name, control characters in it written as escapes (\\n, \\x1b). data.zip\n"
     "is listed when the folder has both. An archive whose list of members cannot\n"
     "be read whole (cut short, damaged) is an error.",
     List},
    {"encode", "IN OUT", "write the encoded form of a file",
     "Every byte is increased by the family's encoding offset (0x2A, modulo 256).\n"
     "OUT may be IN itself; it is replaced only once complete.",
     Encode},
    {"decode", "[--head] IN OUT", "write the decoded form of an encoded file",
     "With --head only the first 100 bytes are decoded and the rest copied, for\n"
     "files whose head alone is encoded.",
     Decode},
};

const CommandRegistrar registrar(kCommands);

}  // namespace
}  // namespace qxtool
