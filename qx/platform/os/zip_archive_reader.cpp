// The zip form of ArchiveReader, over minizip.
#include <minizip/unzip.h>

#include <algorithm>
#include <array>

#include "qx/platform/base/codepage.h"
#include "qx/platform/base/utf.h"
#include "qx/platform/os/archive_reader.h"
#include "qx/platform/os/internal/archive_readers.h"
#include "qx/platform/os/native_path.h"

namespace qx::detail {

namespace {

// General purpose flag: the name is UTF-8 rather than the OEM code page.
constexpr uLong kUtf8NameFlag = 0x800;

class ZipReader final : public ArchiveReader {
public:
    explicit ZipReader(unzFile zip) : zip_(zip) {}
    ~ZipReader() override { unzClose(zip_); }

    bool ReadMembers() {
        for (int status = unzGoToFirstFile(zip_); status == UNZ_OK; status = unzGoToNextFile(zip_)) {
            unz_file_info64 info{};
            std::array<char, 65536> name{};
            if (unzGetCurrentFileInfo64(zip_, &info, name.data(), name.size(), nullptr, 0, nullptr, 0) != UNZ_OK)
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
            members_.push_back(std::move(member));
            positions_.push_back(position);
        }
        return true;
    }

    const std::vector<ArchiveMember>& Members() const override { return members_; }

    bool Extract(size_t index, const ArchiveSink& sink) override {
        if (index >= members_.size()) return false;
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
    unzFile zip_;
    std::vector<ArchiveMember> members_;
    std::vector<unz64_file_pos> positions_;
};

}  // namespace

std::unique_ptr<ArchiveReader> OpenZipReader(std::wstring_view path) {
    const auto native = ToNativePath(path);
    if (!native) return nullptr;
    unzFile zip = unzOpen64(native->c_str());
    if (!zip) return nullptr;
    auto reader = std::make_unique<ZipReader>(zip);
    if (!reader->ReadMembers()) return nullptr;
    return reader;
}

}  // namespace qx::detail
