// Page files from arbitrary input: read as a page, then turned into text.
//
// Input: the file's bytes.
//
// What holds: reading never reads past its input and throws only
// CInvalidArgException (an object record of fewer than 28 fields); image
// paths come out resolved; every object written back as a record reads back
// the same; and placing the page's texts into a fixed grid stays inside it.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "qx/platform/base/exceptions.h"
#include "qx/print/object_record.h"
#include "qx/print/page_file_reader.h"
#include "qx/print/record_line.h"
#include "qx/print/text_output.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("qx-page-fuzz-" + std::to_string(::getpid()) + ".tmp");
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    } else {
        return 0;
    }
    try {
        const qx::LoadedPage page = qx::ReadPageFile(CString(path.wstring()), L"C:\\layouts\\");
        for (const auto& object : page.objects) {
            if (object->kind == qx::kPrintImage && object->text.IsEmpty()) __builtin_trap();
            const CString written = qx::FormatObjectRecord(*object, 0, 0);
            const auto record = qx::SplitRecordLine(written);
            if (!record || qx::FormatObjectRecord(*qx::ReadObjectRecord(record->fields, 1.0), 0, 0) != written)
                __builtin_trap();
        }
        const auto rows = qx::PageToTextRows(page, 800, 600, 10, 20, [](const PRINTOBJ& o) { return o.text; });
        if (rows.size() != 30) __builtin_trap();
        for (const CString& row : rows) {
            if (row.GetLength() > 80) __builtin_trap();
        }
    } catch (const CInvalidArgException&) {
    }
    std::filesystem::remove(path);
    return 0;
}
