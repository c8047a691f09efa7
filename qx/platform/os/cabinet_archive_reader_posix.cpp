// The cabinet form of ArchiveReader, over libmspack. (POSIX for fseeko and
// off_t, the large-file calls the decompressor's interface is built on.)
//
// The decompressor reads the cabinet through stdio and writes the member it
// extracts to the caller's sink: its file callbacks open the cabinet by name
// and, for the one output file of an extraction, hand a file that forwards
// to the sink, so nothing is written to disk behind the caller's back.
#include <mspack.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "qx/platform/base/codepage.h"
#include "qx/platform/base/utf.h"
#include "qx/platform/os/archive_reader.h"
#include "qx/platform/os/internal/archive_readers.h"
#include "qx/platform/os/native_path.h"

namespace qx::detail {

namespace {

// What the decompressor gets from its open callback. An input file wraps a
// FILE; the output file forwards to the sink of the running extraction.
struct CabFile {
    std::FILE* input = nullptr;
    const ArchiveSink* sink = nullptr;
};

// mspack_system first, so that the callbacks can find the extraction state
// from the pointer they are given.
struct CabSystem {
    mspack_system base;
    const ArchiveSink* sink = nullptr;  // of the running extraction
};

mspack_file* OpenFile(mspack_system* self, const char* filename, int mode) {
    auto* system = reinterpret_cast<CabSystem*>(self);
    if (mode == MSPACK_SYS_OPEN_WRITE) {
        if (!system->sink) return nullptr;
        auto* file = new CabFile;
        file->sink = system->sink;
        return reinterpret_cast<mspack_file*>(file);
    }
    if (mode != MSPACK_SYS_OPEN_READ) return nullptr;
    std::FILE* input = std::fopen(filename, "rb");
    if (!input) return nullptr;
    auto* file = new CabFile;
    file->input = input;
    return reinterpret_cast<mspack_file*>(file);
}

void CloseFile(mspack_file* handle) {
    auto* file = reinterpret_cast<CabFile*>(handle);
    if (!file) return;
    if (file->input) std::fclose(file->input);
    delete file;
}

int ReadFile(mspack_file* handle, void* buffer, int bytes) {
    auto* file = reinterpret_cast<CabFile*>(handle);
    if (!file || !file->input || bytes < 0) return -1;
    const size_t count = std::fread(buffer, 1, static_cast<size_t>(bytes), file->input);
    return count == 0 && std::ferror(file->input) ? -1 : static_cast<int>(count);
}

int WriteFile(mspack_file* handle, void* buffer, int bytes) {
    auto* file = reinterpret_cast<CabFile*>(handle);
    if (!file || !file->sink || bytes < 0) return -1;
    if (!(*file->sink)(std::string_view(static_cast<const char*>(buffer), static_cast<size_t>(bytes)))) return -1;
    return bytes;
}

int SeekFile(mspack_file* handle, off_t offset, int mode) {
    auto* file = reinterpret_cast<CabFile*>(handle);
    if (!file || !file->input) return -1;
    const int whence = mode == MSPACK_SYS_SEEK_START ? SEEK_SET : mode == MSPACK_SYS_SEEK_CUR ? SEEK_CUR : SEEK_END;
    return ::fseeko(file->input, offset, whence) == 0 ? 0 : -1;
}

off_t TellFile(mspack_file* handle) {
    auto* file = reinterpret_cast<CabFile*>(handle);
    return file && file->input ? ::ftello(file->input) : 0;
}

// The decompressor's warnings about damaged cabinets: the result of the
// operation already says it failed.
void IgnoreMessage(mspack_file*, const char*, ...) {}

void* Allocate(mspack_system*, size_t bytes) { return std::malloc(bytes); }
void Free(void* pointer) { std::free(pointer); }
void Copy(void* from, void* to, size_t bytes) { std::memmove(to, from, bytes); }

std::uint16_t PackDosDate(const mscabd_file& file) {
    return static_cast<std::uint16_t>(((file.date_y - 1980) & 0x7F) << 9 | (file.date_m & 0x0F) << 5 |
                                      (file.date_d & 0x1F));
}

std::uint16_t PackDosTime(const mscabd_file& file) {
    return static_cast<std::uint16_t>((file.time_h & 0x1F) << 11 | (file.time_m & 0x3F) << 5 |
                                      ((file.time_s / 2) & 0x1F));
}

class CabinetReader final : public ArchiveReader {
public:
    CabinetReader() {
        system_.base = {OpenFile, CloseFile, ReadFile, WriteFile, SeekFile, TellFile,
                        IgnoreMessage, Allocate, Free, Copy, nullptr};
        decompressor_ = mspack_create_cab_decompressor(&system_.base);
    }
    ~CabinetReader() override {
        if (decompressor_) {
            if (cabinet_) decompressor_->close(decompressor_, cabinet_);
            mspack_destroy_cab_decompressor(decompressor_);
        }
    }
    CabinetReader(const CabinetReader&) = delete;
    CabinetReader& operator=(const CabinetReader&) = delete;

    bool Open(const std::string& nativePath) {
        if (!decompressor_) return false;
        path_ = nativePath;
        // A larger input buffer than the default 4 KB saves many small reads.
        decompressor_->set_param(decompressor_, MSCABD_PARAM_DECOMPBUF, 65536);
        cabinet_ = decompressor_->open(decompressor_, path_.c_str());
        if (!cabinet_) return false;
        // The header and the member list come first: a cabinet cut short
        // lists whole but cannot give its last members, so it is no
        // cabinet, as a cut zip is none.
        struct stat status{};
        if (::stat(path_.c_str(), &status) != 0 ||
            static_cast<std::uint64_t>(status.st_size) <
                static_cast<std::uint64_t>(cabinet_->base_offset) + cabinet_->length)
            return false;
        for (mscabd_file* file = cabinet_->files; file; file = file->next) {
            const std::string_view raw = file->filename ? file->filename : "";
            ArchiveMember member;
            member.name = (file->attribs & MSCAB_ATTRIB_UTF_NAME) ? Utf8ToWide(raw) : CodePageToWide(raw, kCpAcp);
            member.dosDate = PackDosDate(*file);
            member.dosTime = PackDosTime(*file);
            member.attributes = static_cast<unsigned>(file->attribs) &
                                (MSCAB_ATTRIB_RDONLY | MSCAB_ATTRIB_HIDDEN | MSCAB_ATTRIB_SYSTEM | MSCAB_ATTRIB_ARCH);
            member.size = file->length;
            members_.push_back(std::move(member));
            files_.push_back(file);
        }
        return true;
    }

    const std::vector<ArchiveMember>& Members() const override { return members_; }

    bool Extract(size_t index, const ArchiveSink& sink) override {
        if (index >= files_.size()) return false;
        std::uint64_t written = 0;
        const ArchiveSink counting = [&](std::string_view bytes) {
            written += bytes.size();
            return sink(bytes);
        };
        system_.sink = &counting;
        // The output name is not used: the open callback hands the sink.
        const int result = decompressor_->extract(decompressor_, files_[index], "member");
        system_.sink = nullptr;
        return result == MSPACK_ERR_OK && written == members_[index].size;
    }

private:
    CabSystem system_{};
    mscab_decompressor* decompressor_ = nullptr;
    mscabd_cabinet* cabinet_ = nullptr;
    std::string path_;
    std::vector<ArchiveMember> members_;
    std::vector<mscabd_file*> files_;
};

}  // namespace

std::unique_ptr<ArchiveReader> OpenCabinetReader(std::wstring_view path) {
    const auto native = ToNativePath(path);
    if (!native) return nullptr;
    auto reader = std::make_unique<CabinetReader>();
    if (!reader->Open(*native)) return nullptr;
    return reader;
}

}  // namespace qx::detail
