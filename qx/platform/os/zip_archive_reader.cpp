// The zip form of ArchiveReader, over minizip.
#include <minizip/unzip.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "qx/platform/base/codepage.h"
#include "qx/platform/base/utf.h"
#include "qx/platform/os/archive_reader.h"
#include "qx/platform/os/internal/archive_readers.h"
#include "qx/platform/os/native_path.h"

namespace qx::detail {

namespace {

// General purpose flag: the name is UTF-8 rather than the OEM code page.
constexpr uLong kUtf8NameFlag = 0x800;

// A 32-bit size of this value says that the real one is in the zip64 extra
// field.
constexpr ZPOS64_T kZip64Marker = 0xFFFFFFFF;
constexpr std::uint16_t kZip64ExtraId = 0x0001;

// The member count of the end record that stands for "count the headers"
// (old writers put it for 65,535 members and more).
constexpr ZPOS64_T kCountUnknown = 0xFFFF;

std::uint64_t ReadLittleEndian(std::string_view bytes) {
    std::uint64_t value = 0;
    for (size_t i = bytes.size(); i-- > 0;) value = value << 8 | static_cast<unsigned char>(bytes[i]);
    return value;
}

// The real size of a member whose header holds the zip64 marker: the first
// field of its zip64 extra record. nullopt when the record is missing or
// short.
std::optional<std::uint64_t> Zip64Size(std::string_view extra) {
    while (extra.size() >= 4) {
        const auto id = ReadLittleEndian(extra.substr(0, 2));
        const size_t length = std::min<size_t>(ReadLittleEndian(extra.substr(2, 2)), extra.size() - 4);
        if (id == kZip64ExtraId && length >= 8) return ReadLittleEndian(extra.substr(4, 8));
        extra.remove_prefix(4 + length);
    }
    return std::nullopt;
}

// minizip reads the end record and the directory headers a byte at a time
// and takes a read that meets the end of the file for a success (its
// UNZ_EOF is UNZ_OK), so a record cut short would read as made of whatever
// came last. Its file functions are wrapped to note every read that comes
// up short.
struct WatchedFile {
    zlib_filefunc64_def base{};
    bool readShort = false;

    static WatchedFile& Of(voidpf opaque) { return *static_cast<WatchedFile*>(opaque); }
    static voidpf ZCALLBACK Open(voidpf opaque, const void* name, int mode) {
        return Of(opaque).base.zopen64_file(Of(opaque).base.opaque, name, mode);
    }
    static uLong ZCALLBACK Read(voidpf opaque, voidpf stream, void* buffer, uLong size) {
        const uLong got = Of(opaque).base.zread_file(Of(opaque).base.opaque, stream, buffer, size);
        Of(opaque).readShort |= got != size;
        return got;
    }
    static uLong ZCALLBACK Write(voidpf, voidpf, const void*, uLong) { return 0; }
    static ZPOS64_T ZCALLBACK Tell(voidpf opaque, voidpf stream) {
        return Of(opaque).base.ztell64_file(Of(opaque).base.opaque, stream);
    }
    static long ZCALLBACK Seek(voidpf opaque, voidpf stream, ZPOS64_T offset, int origin) {
        return Of(opaque).base.zseek64_file(Of(opaque).base.opaque, stream, offset, origin);
    }
    static int ZCALLBACK Close(voidpf opaque, voidpf stream) {
        return Of(opaque).base.zclose_file(Of(opaque).base.opaque, stream);
    }
    static int ZCALLBACK Error(voidpf opaque, voidpf stream) {
        return Of(opaque).base.zerror_file(Of(opaque).base.opaque, stream);
    }

    zlib_filefunc64_def Functions() {
        fill_fopen64_filefunc(&base);
        return {Open, Read, Write, Tell, Seek, Close, Error, this};
    }
};

class ZipReader final : public ArchiveReader {
public:
    ZipReader() = default;
    ~ZipReader() override {
        if (zip_) unzClose(zip_);
    }
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    // Opens the archive and lists its members; false unless the end record
    // is whole and the central directory holds as many readable entries as
    // it says.
    bool Open(const std::string& nativePath) {
        zlib_filefunc64_def functions = file_.Functions();
        zip_ = unzOpen2_64(nativePath.c_str(), &functions);
        return zip_ && ReadMembers();
    }

    const std::vector<ArchiveMember>& Members() const override { return members_; }

    bool Extract(size_t index, const ArchiveSink& sink) override {
        if (index >= members_.size() || !members_[index].extractable) return false;
        if (unzGoToFilePos64(zip_, &positions_[index]) != UNZ_OK || unzOpenCurrentFile(zip_) != UNZ_OK) return false;
        std::array<char, kArchiveChunkSize> buffer;
        std::uint64_t total = 0;
        bool ok = true;
        for (;;) {
            const int count = unzReadCurrentFile(zip_, buffer.data(), static_cast<unsigned>(buffer.size()));
            if (count == 0) break;
            if (count < 0 || !sink(std::string_view(buffer.data(), static_cast<size_t>(count)))) {
                ok = false;
                break;
            }
            total += static_cast<std::uint64_t>(count);
        }
        // Closing checks the CRC, but only of a member read to its end; a
        // stream that ends early shows in the count.
        const int closed = unzCloseCurrentFile(zip_);
        return ok && closed == UNZ_OK && total == members_[index].size;
    }

private:
    bool ReadMembers() {
        unz_global_info64 global{};
        if (unzGetGlobalInfo64(zip_, &global) != UNZ_OK) return false;
        // Reading the comment, which minizip skips, shows whether the end
        // record is there to its last byte.
        std::string comment(global.size_comment + 1, '\0');
        if (unzGetGlobalComment(zip_, comment.data(), static_cast<uLong>(comment.size())) !=
                static_cast<int>(global.size_comment) ||
            file_.readShort)
            return false;

        std::string name(65536, '\0');
        std::string extra(65536, '\0');
        int status = unzGoToFirstFile(zip_);
        for (; status == UNZ_OK; status = unzGoToNextFile(zip_)) {
            unz_file_info64 info{};
            if (unzGetCurrentFileInfo64(zip_, &info, name.data(), static_cast<uLong>(name.size()), extra.data(),
                                        static_cast<uLong>(extra.size()), nullptr, 0) != UNZ_OK ||
                file_.readShort)
                return false;
            unz64_file_pos position{};
            if (unzGetFilePos64(zip_, &position) != UNZ_OK) return false;
            const std::string_view raw(name.data(), std::min<size_t>(info.size_filename, name.size() - 1));
            ArchiveMember member;
            member.name = (info.flag & kUtf8NameFlag) ? Utf8ToWide(raw) : CodePageToWide(raw, kCpOemCp);
            member.dosDate = static_cast<std::uint16_t>(info.dosDate >> 16);
            member.dosTime = static_cast<std::uint16_t>(info.dosDate & 0xFFFF);
            // The low byte holds the DOS attributes whatever system made it.
            member.attributes = static_cast<unsigned>(info.external_fa & 0xFF);
            member.size = info.uncompressed_size;
            // The installed minizip leaves the zip64 marker in place of the
            // real sizes and would read such a member to a wrong length: it
            // is listed with its real size and not extracted.
            if (info.uncompressed_size == kZip64Marker || info.compressed_size == kZip64Marker) {
                const std::string_view fields(extra.data(), std::min<size_t>(info.size_file_extra, extra.size()));
                if (info.uncompressed_size == kZip64Marker) member.size = Zip64Size(fields).value_or(member.size);
                member.extractable = false;
            }
            members_.push_back(std::move(member));
            positions_.push_back(position);
        }
        // The list ends after as many entries as the end record counts. An
        // empty archive and the unknown count end at the first place that
        // holds no entry (where minizip may read past the end of the file).
        const bool endsAtNoEntry = status == UNZ_BADZIPFILE &&
                                   (global.number_entry == 0 || global.number_entry == kCountUnknown);
        if (status != UNZ_END_OF_LIST_OF_FILE && !endsAtNoEntry) return false;
        return global.number_entry == kCountUnknown ? members_.size() >= kCountUnknown
                                                    : members_.size() == global.number_entry;
    }

    WatchedFile file_;  // minizip's file functions point at it
    unzFile zip_ = nullptr;
    std::vector<ArchiveMember> members_;
    std::vector<unz64_file_pos> positions_;
};

}  // namespace

std::unique_ptr<ArchiveReader> OpenZipReader(std::wstring_view path) {
    const auto native = ToNativePath(path);
    if (!native) return nullptr;
    auto reader = std::make_unique<ZipReader>();
    if (!reader->Open(*native)) return nullptr;
    return reader;
}

}  // namespace qx::detail
