#include "qx/platform/os/zip_store.h"

#include <minizip/unzip.h>
#include <minizip/zip.h>

#include <algorithm>
#include <cstring>

namespace qx {
namespace {

// A growable byte buffer that minizip reads and writes through its file
// functions, so that archives never touch the disk here.
struct MemoryFile {
    std::string bytes;
    size_t pos = 0;
};

voidpf ZCALLBACK OpenMemory(voidpf opaque, const void*, int) { return opaque; }

uLong ZCALLBACK ReadMemory(voidpf, voidpf stream, void* buf, uLong size) {
    auto* file = static_cast<MemoryFile*>(stream);
    const size_t count = std::min<size_t>(size, file->bytes.size() - std::min(file->pos, file->bytes.size()));
    if (count) std::memcpy(buf, file->bytes.data() + file->pos, count);
    file->pos += count;
    return static_cast<uLong>(count);
}

uLong ZCALLBACK WriteMemory(voidpf, voidpf stream, const void* buf, uLong size) {
    auto* file = static_cast<MemoryFile*>(stream);
    if (file->pos > file->bytes.size()) file->bytes.resize(file->pos);
    const size_t overlap = std::min<size_t>(size, file->bytes.size() - file->pos);
    file->bytes.replace(file->pos, overlap, static_cast<const char*>(buf), size);
    file->pos += size;
    return size;
}

ZPOS64_T ZCALLBACK TellMemory(voidpf, voidpf stream) { return static_cast<MemoryFile*>(stream)->pos; }

long ZCALLBACK SeekMemory(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    auto* file = static_cast<MemoryFile*>(stream);
    ZPOS64_T base = 0;
    if (origin == ZLIB_FILEFUNC_SEEK_CUR) base = file->pos;
    else if (origin == ZLIB_FILEFUNC_SEEK_END) base = file->bytes.size();
    if (offset > file->bytes.size() || base + offset > file->bytes.size()) return -1;
    file->pos = static_cast<size_t>(base + offset);
    return 0;
}

int ZCALLBACK CloseMemory(voidpf, voidpf) { return 0; }
int ZCALLBACK ErrorMemory(voidpf, voidpf) { return 0; }

zlib_filefunc64_def MemoryFunctions(MemoryFile& file) {
    zlib_filefunc64_def functions{};
    functions.zopen64_file = OpenMemory;
    functions.zread_file = ReadMemory;
    functions.zwrite_file = WriteMemory;
    functions.ztell64_file = TellMemory;
    functions.zseek64_file = SeekMemory;
    functions.zclose_file = CloseMemory;
    functions.zerror_file = ErrorMemory;
    functions.opaque = &file;
    return functions;
}

// Reads the current member whole; false on a damaged member or when the
// archive's budget or the member's limit would be exceeded.
bool ReadCurrent(unzFile zip, std::string& data, size_t& budget, size_t memberLimit) {
    if (unzOpenCurrentFile(zip) != UNZ_OK) return false;
    char chunk[65536];
    int got = 0;
    while ((got = unzReadCurrentFile(zip, chunk, sizeof chunk)) > 0) {
        if (static_cast<size_t>(got) > budget || static_cast<size_t>(got) > memberLimit - data.size()) break;
        budget -= static_cast<size_t>(got);
        data.append(chunk, static_cast<size_t>(got));
    }
    // Closing checks the CRC of a member read to its end.
    const bool closed = unzCloseCurrentFile(zip) == UNZ_OK;
    return got == 0 && closed;
}

}  // namespace

std::optional<std::vector<ZipMember>> ReadZipMembers(std::string_view bytes, const ZipLimits& limits) {
    MemoryFile file{std::string(bytes)};
    zlib_filefunc64_def functions = MemoryFunctions(file);
    unzFile zip = unzOpen2_64("", &functions);
    if (!zip) return std::nullopt;
    std::vector<ZipMember> members;
    size_t budget = limits.totalBytes;
    bool ok = true;
    int status = unzGoToFirstFile(zip);
    for (; status == UNZ_OK; status = unzGoToNextFile(zip)) {
        unz_file_info64 info{};
        ok = members.size() < limits.members &&
             unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) == UNZ_OK;
        if (!ok) break;
        // The name is fetched at its full length: a cut name could stand for
        // another member.
        std::string memberName(info.size_filename + 1, '\0');
        ok = unzGetCurrentFileInfo64(zip, &info, memberName.data(), static_cast<uLong>(memberName.size()), nullptr,
                                     0, nullptr, 0) == UNZ_OK;
        if (!ok) break;
        memberName.resize(info.size_filename);
        if (!memberName.empty() && memberName.back() == '/') continue;
        // A member that says it unpacks beyond the limits is refused before
        // any of it is inflated; one that says less is held to the limits all
        // the same while it is read.
        ok = info.uncompressed_size <= limits.memberBytes && info.uncompressed_size <= budget;
        if (!ok) break;
        ZipMember member{std::move(memberName), {}};
        ok = ReadCurrent(zip, member.data, budget, limits.memberBytes);
        if (!ok) break;
        members.push_back(std::move(member));
    }
    unzClose(zip);
    if (!ok || status != UNZ_END_OF_LIST_OF_FILE) return std::nullopt;
    return members;
}

std::optional<std::string> WriteZipMembers(const std::vector<ZipMember>& members, int level) {
    MemoryFile file;
    zlib_filefunc64_def functions = MemoryFunctions(file);
    zipFile zip = zipOpen2_64("", APPEND_STATUS_CREATE, nullptr, &functions);
    if (!zip) return std::nullopt;
    bool ok = true;
    for (const ZipMember& member : members) {
        // A fixed, valid time (1980-01-01 00:00): the same members make the
        // same archive.
        zip_fileinfo info{};
        info.tmz_date.tm_mday = 1;
        info.tmz_date.tm_year = 1980;
        // Language modules are small; a member the 32-bit writer cannot take
        // whole is refused rather than cut.
        ok = member.data.size() < 0xFFFFFFFFu &&
             zipOpenNewFileInZip64(zip, member.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                   level < 0 || level > 9 ? Z_DEFAULT_COMPRESSION : level, 0) == ZIP_OK &&
             zipWriteInFileInZip(zip, member.data.data(), static_cast<unsigned>(member.data.size())) == ZIP_OK &&
             zipCloseFileInZip(zip) == ZIP_OK;
        if (!ok) break;
    }
    if (zipClose(zip, nullptr) != ZIP_OK || !ok) return std::nullopt;
    return std::move(file.bytes);
}

}  // namespace qx
