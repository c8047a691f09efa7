#include "qx/archive/encoded_file.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "qx/message/message_table.h"
#include "qx/platform/base/format.h"
#include "qx/platform/os/file_stream.h"
#include "qx/platform/os/file_system.h"
#include "qx/platform/os/message_box.h"
#include "qx/text/encoded_form.h"
#include "qx/text/path.h"

namespace qx {

namespace {

constexpr size_t kChunkSize = 1 << 20;

enum class Shift { Encode, Decode };

// Copies *source* to *target*, shifting the first *limit* bytes. The target
// is replaced only when everything was read and written.
bool ShiftFile(const wchar_t* source, const wchar_t* target, Shift shift, std::uint64_t limit) {
    if (!source || !target) return false;
    // A read-only target would refuse the new content; the family's callers
    // expect it to be overwritten. A missing target is no error.
    ChangeFileAttributes(target, kFileAttributeNormal);
    const auto reader = FileReader::Open(source);
    if (!reader) return false;
    const auto writer = FileReplacer::Create(target);
    if (!writer) return false;
    std::string chunk(kChunkSize, '\0');
    std::uint64_t offset = 0;
    for (;;) {
        const auto count = reader->Read(chunk.data(), chunk.size());
        if (!count) return false;
        if (*count == 0) break;
        std::string_view piece(chunk.data(), *count);
        if (offset < limit) {
            const size_t shifted = static_cast<size_t>(std::min<std::uint64_t>(limit - offset, *count));
            for (size_t i = 0; i < shifted; ++i) {
                const auto byte = static_cast<unsigned char>(chunk[i]);
                chunk[i] = static_cast<char>(shift == Shift::Encode ? byte + kEncodingOffset : byte - kEncodingOffset);
            }
        }
        if (!writer->Write(piece)) return false;
        offset += *count;
    }
    return writer->Commit();
}

}  // namespace

int DecodeHead(const wchar_t* source, const wchar_t* target) {
    return ShiftFile(source, target, Shift::Decode, kEncodedHeadLength) ? 1 : 0;
}

}  // namespace qx

int Codieren(const wchar_t* source, const wchar_t* target) {
    return qx::ShiftFile(source, target, qx::Shift::Encode, UINT64_MAX) ? 1 : 0;
}

int Decodieren(const wchar_t* source, const wchar_t* target) {
    return qx::ShiftFile(source, target, qx::Shift::Decode, UINT64_MAX) ? 1 : 0;
}

CString getDeCodedFile(const CString& file, int full, const CString& /*unusedExt*/, const CString& encodedExt,
                       const CString& decodedExt, const CString& targetDir) {
    const CPath path(file);
    const CString folder = path.GetFilePath();
    const CString name = path.GetShortFileName();
    CString outputFolder = targetDir;
    if (outputFolder.IsEmpty()) outputFolder = folder;
    else if (!outputFolder.str().ends_with(L'\\')) outputFolder += L"\\";

    const CString source = qx::Format(L"%s%s.%s", folder.GetString(), name.GetString(), encodedExt.GetString());
    const CString result = qx::Format(L"%s%s.%s", outputFolder.GetString(), name.GetString(), decodedExt.GetString());
    if (!qx::FileExists(source.str())) {
        const std::wstring text = qx::Format(qx::TranslateMessage("Die Datei %s wurde nicht gefunden"), source.GetString());
        qx::ShowAppMessage(text.c_str(), MB_OK | MB_ICONEXCLAMATION);
    }
    if (full) Decodieren(source, result);
    else qx::DecodeHead(source, result);
    return result;
}
