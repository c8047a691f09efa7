// Layout files from arbitrary input: every section of the file is loaded, as
// plain text or in the scrambled form.
//
// Input: byte 0 bit 0 picks the scrambled form (the file is named ".prx");
// the other bytes are the file.
//
// What holds: loading never reads past its input and ends (each load either
// stops or starts the next section further down); a malformed object record
// throws only CInvalidArgException; and every object loaded, written as an
// object record and read back, gives the same record again.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "qx/platform/base/exceptions.h"
#include "qx/print/layout_reader.h"
#include "qx/print/object_record.h"
#include "qx/print/page_geometry.h"
#include "qx/print/record_line.h"

namespace {

void CheckRecordRoundTrip(const PRINTOBJ& object) {
    const CString written = qx::FormatObjectRecord(object, 0, 0);
    const auto record = qx::SplitRecordLine(written);
    if (!record || record->fields.size() != 34) __builtin_trap();
    if (qx::FormatObjectRecord(*qx::ReadObjectRecord(record->fields, 1.0), 0, 0) != written) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const bool scrambled = data[0] & 1;
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("qx-layout-fuzz-" + std::to_string(::getpid()) + (scrambled ? ".prx" : ".txt"));
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data + 1, 1, size - 1, f);
        std::fclose(f);
    } else {
        return 0;
    }

    qx::ResetPageGeometry();
    qx::LayoutFile file;
    if (!file.Set(CString(path.wstring()))) __builtin_trap();
    qx::LayoutState state;
    int start = 0;
    try {
        for (;;) {
            const int next = qx::LoadSection(state, file, start);
            for (const CPagePart& part : state.parts) {
                for (const auto& object : part.objects) CheckRecordRoundTrip(*object);
            }
            if (next <= start) break;
            start = next;
        }
    } catch (const CInvalidArgException&) {
    }
    std::filesystem::remove(path);
    return 0;
}
