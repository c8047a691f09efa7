// Registry files from arbitrary bytes: decode, parse, write every section
// and value back with the writer, parse that, and compare.
//
// Input: the file's bytes, any encoding.
//
// What holds: parsing never fails; what the writer makes of the parsed keys
// and values reads back as the same keys, names, types and bytes, in both
// output encodings. Kept lines are not compared: a line that was not
// understood may mean something else in another place of a file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "qx/platform/os/registry_file.h"

namespace {

using qx::RegFileContent;
using qx::RegFileLine;

std::string Rewrite(const RegFileContent& content, qx::RegFileEncoding encoding) {
    qx::RegFileWriter writer;
    for (const auto& section : content.sections) {
        if (section.malformed) continue;
        writer.BeginSection(section.key, section.remove);
        for (const auto& line : section.lines)
            if (line.kind != RegFileLine::Kind::Kept) writer.WriteLine(line);
    }
    return writer.Finish(encoding);
}

bool SameMeaning(const RegFileContent& a, const RegFileContent& b) {
    size_t j = 0;
    for (const auto& section : a.sections) {
        if (section.malformed) continue;
        if (j >= b.sections.size()) return false;
        const auto& other = b.sections[j++];
        if (other.key != section.key || other.remove != section.remove || other.malformed) return false;
        size_t k = 0;
        for (const auto& line : section.lines) {
            if (line.kind == RegFileLine::Kind::Kept) continue;
            if (k >= other.lines.size()) return false;
            const auto& back = other.lines[k++];
            if (back.kind != line.kind || back.name != line.name || back.value != line.value) return false;
        }
        if (k != other.lines.size()) return false;
    }
    return j == b.sections.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const RegFileContent content = qx::ParseRegFile(bytes);
    for (const auto& line : content.leading)
        if (line.kind != RegFileLine::Kind::Kept) __builtin_trap();
    for (const auto encoding : {qx::RegFileEncoding::Utf8, qx::RegFileEncoding::Utf16Le}) {
        const RegFileContent again = qx::ParseRegFile(Rewrite(content, encoding));
        if (again.version != qx::RegFileVersion::Regedit5 || !again.leading.empty()) __builtin_trap();
        if (!SameMeaning(content, again)) __builtin_trap();
    }
    return 0;
}
