#include "qx/archive/encoded_file.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "qx/message/message_table.h"
#include "qx/platform/base/format.h"
#include "qx/platform/os/file_stream.h"
#include "qx/platform/os/file_system.h"
#include "qx/platform/wnd/message_box.h"
#include "qx/text/encoded_form.h"
#include "qx/text/path.h"

namespace qx {

namespace {

constexpr size_t kChunkSize = 1 << 20;

// Hands *reader*'s bytes to *sink* piece by piece, shifted as *mode* says.
bool ShiftStream(FileReader& reader, ShiftMode mode, const std::function<bool(std::string_view)>& sink) {
    const std::uint64_t limit = mode == ShiftMode::DecodeHead ? kEncodedHeadLength : UINT64_MAX;
    const int offset = mode == ShiftMode::Encode ? kEncodingOffset : -kEncodingOffset;
    std::string chunk(kChunkSize, '\0');
    std::uint64_t done = 0;
    for (;;) {
        const auto count = reader.Read(chunk.data(), chunk.size());
        if (!count) return false;
        if (*count == 0) return true;
        if (done < limit) {
            const size_t shifted = static_cast<size_t>(std::min<std::uint64_t>(limit - done, *count));
            for (size_t i = 0; i < shifted; ++i) chunk[i] = static_cast<char>(static_cast<unsigned char>(chunk[i]) + offset);
        }
        if (!sink(std::string_view(chunk.data(), *count))) return false;
        done += *count;
    }
}

// Copies *source* to *target* as *mode* says. The target is replaced only
// when everything was read and written.
bool ShiftFile(const wchar_t* source, const wchar_t* target, ShiftMode mode) {
    if (!source || !target) return false;
    // A read-only target would refuse the new content; the family's callers
    // expect it to be overwritten. A missing target is no error.
    ChangeFileAttributes(target, kFileAttributeNormal);
    const auto reader = FileReader::Open(source);
    if (!reader) return false;
    const auto writer = FileReplacer::Create(target);
    if (!writer) return false;
    return ShiftStream(*reader, mode, [&writer](std::string_view piece) { return writer->Write(piece); }) &&
           writer->Commit();
}

}  // namespace

int DecodeHead(const wchar_t* source, const wchar_t* target) {
    return ShiftFile(source, target, ShiftMode::DecodeHead) ? 1 : 0;
}

bool WriteShifted(const wchar_t* source, ShiftMode mode, const std::function<bool(std::string_view)>& sink) {
    const auto reader = source ? FileReader::Open(source) : nullptr;
    return reader && ShiftStream(*reader, mode, sink);
}

}  // namespace qx

int Codieren(const wchar_t* source, const wchar_t* target) {
    return qx::ShiftFile(source, target, qx::ShiftMode::Encode) ? 1 : 0;
}

int Decodieren(const wchar_t* source, const wchar_t* target) {
    return qx::ShiftFile(source, target, qx::ShiftMode::Decode) ? 1 : 0;
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
