#include "qx/archive/cabinet_handling.h"

#include <algorithm>
#include <map>
#include <memory>

#include "qx/archive/archive_path.h"
#include "qx/archive/dos_time.h"
#include "qx/message/message_table.h"
#include "qx/platform/base/format.h"
#include "qx/platform/base/unicode.h"
#include "qx/platform/os/file_system.h"
#include "qx/platform/os/last_error.h"
#include "qx/platform/wnd/message_box.h"
#include "qx/platform/os/private_folder.h"

namespace qx {

namespace {

// A member whose date cannot be read still counts as present: as the oldest
// possible copy, so that a file on disk wins over it.
constexpr FileTime kUnreadableMemberTime{1};

// The date check writes this file in the target folder before a zip member.
constexpr wchar_t kDateCheckName[] = L"dtchk.tmp";

struct OpenCabinet {
    std::wstring path;    // the cabinet file
    std::unique_ptr<ArchiveReader> reader;  // holds the member list
    std::vector<std::wstring> extracted;       // cache-relative paths
    std::vector<std::wstring> createdFolders;  // cache-relative, top first
};

// A requested file split the way the cache needs it.
struct Request {
    CString path;      // normalised
    CString folder;    // up to and including the last backslash
    CString name;
    CString relative;  // the copy's path inside the cache folder
};

std::optional<Request> SplitRequest(const CString& path) {
    Request request;
    request.path = NormalizeArchivePath(path);
    const int slash = request.path.ReverseFind(L'\\');
    if (slash < 0) return std::nullopt;
    request.folder = request.path.Left(slash + 1);
    request.name = request.path.Mid(slash + 1);
    const CString folder = CacheRelativeFolder(request.path);
    request.relative = folder.IsEmpty() ? request.name : CString(folder.str() + L"\\" + request.name.str());
    return request;
}

// Windows file names ignore case, and so do the family's requests.
std::wstring Folded(std::wstring_view text) {
    std::wstring folded(text);
    for (wchar_t& ch : folded) ch = FoldCase(ch);
    return folded;
}

std::wstring Key(const CString& path) { return Folded(path.str()); }

std::wstring ParentOf(const std::wstring& relative) {
    const size_t slash = relative.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : relative.substr(0, slash);
}

std::wstring Join(const std::wstring& folder, const wchar_t* name) {
    return folder.empty() ? std::wstring(name) : folder + L"\\" + name;
}

std::optional<size_t> FindMember(const ArchiveReader& reader, const CString& name) {
    const auto& members = reader.Members();
    for (size_t i = 0; i < members.size(); ++i) {
        if (IsMemberFor(members[i], name)) return i;
    }
    return std::nullopt;
}

FileTime MemberTime(const ArchiveMember& member) {
    return DosDateTimeToFileTime(member.dosDate, member.dosTime).value_or(kUnreadableMemberTime);
}

// Copies member *index* of *reader* to *relative* in *cache*; the file is
// there, complete and with its times, or not at all.
bool CopyMember(ArchiveReader& reader, size_t index, PrivateFolder& cache, const std::wstring& relative,
                std::optional<FileTime> access, std::optional<FileTime> write) {
    const auto writer = cache.CreateFile(relative);
    if (!writer) return false;
    const bool copied = reader.Extract(index, [&](std::string_view bytes) { return writer->Write(bytes); });
    return copied && writer->Commit(access, write);
}

// The one owner of the decisions and of the open cabinets.
class ArchiveCache {
public:
    static ArchiveCache& Instance() {
        static ArchiveCache cache;
        return cache;
    }

    int GetUsablePath(const CString& path, CString& usablePath);
    int Access(const CString& path, bool checkDisk);
    void Destroy();

private:
    // The cabinet of *folder*, opened now or before; null when it cannot be
    // opened (and then it is tried again next time).
    OpenCabinet* Cabinet(const CString& folder, const std::wstring& cabinetPath);
    bool ExtractFromZip(const DataArchive& archive, const Request& request, PrivateFolder& cache);
    bool ExtractFromCabinet(const DataArchive& archive, const Request& request, PrivateFolder& cache);

    std::map<std::wstring, CCabinetHandling::EGetFileFrom> decisions_;
    std::map<std::wstring, OpenCabinet> cabinets_;
};

OpenCabinet* ArchiveCache::Cabinet(const CString& folder, const std::wstring& cabinetPath) {
    const std::wstring key = Key(folder);
    if (const auto found = cabinets_.find(key); found != cabinets_.end()) return &found->second;
    auto reader = ArchiveReader::Open(cabinetPath, ArchiveReader::Kind::Cabinet);
    if (!reader) return nullptr;
    OpenCabinet& cabinet = cabinets_[key];
    cabinet.path = cabinetPath;
    cabinet.reader = std::move(reader);
    return &cabinet;
}

int ArchiveCache::GetUsablePath(const CString& path, CString& usablePath) {
    usablePath = path;
    const auto request = SplitRequest(path);
    if (!request) return 0;
    const auto archive = FindDataArchive(request->folder);
    if (!archive) {
        usablePath = request->path;
        return FileExists(request->path.str()) ? 1 : 0;
    }

    const std::wstring key = Key(request->path);
    auto decision = decisions_.find(key);
    if (decision == decisions_.end()) {
        FileTime archiveTime{};
        if (archive->kind == ArchiveReader::Kind::Zip) {
            const auto zip = ArchiveReader::Open(archive->path, ArchiveReader::Kind::Zip);
            if (!zip) {
                usablePath = request->path;
                return 0;
            }
            if (const auto index = FindMember(*zip, request->name)) archiveTime = MemberTime(zip->Members()[*index]);
        } else if (const OpenCabinet* cabinet = Cabinet(request->folder, archive->path)) {
            if (const auto index = FindMember(*cabinet->reader, request->name))
                archiveTime = MemberTime(cabinet->reader->Members()[*index]);
        }
        const auto disk = FileExists(request->path.str()) ? GetFileStatus(request->path.str()) : std::nullopt;
        const FileTime diskTime = disk ? disk->lastWriteTime : FileTime{};
        CCabinetHandling::EGetFileFrom from = CCabinetHandling::FromArchive;
        if (archiveTime.ticks == 0 && diskTime.ticks == 0) from = CCabinetHandling::NotFound;
        else if (diskTime >= archiveTime) from = CCabinetHandling::FromDisk;
        decision = decisions_.emplace(key, from).first;
    }

    switch (decision->second) {
    case CCabinetHandling::FromDisk:
        usablePath = request->path;
        return 1;
    case CCabinetHandling::NotFound:
        usablePath.Empty();
        return 0;
    case CCabinetHandling::FromArchive:
        break;
    }

    usablePath.Empty();
    const CString cacheFolder = ArchiveCacheFolder();
    const auto cache = PrivateFolder::Open(cacheFolder.str());
    if (!cache) return 0;
    const CString copy(cacheFolder.str() + L"\\" + request->relative.str());
    if (!cache->IsFile(request->relative.str())) {
        const bool extracted = archive->kind == ArchiveReader::Kind::Zip ? ExtractFromZip(*archive, *request, *cache)
                                                                         : ExtractFromCabinet(*archive, *request, *cache);
        if (!extracted) return 0;
    }
    usablePath = copy;
    return 1;
}

bool ArchiveCache::ExtractFromZip(const DataArchive& archive, const Request& request, PrivateFolder& cache) {
    const auto zip = ArchiveReader::Open(archive.path, ArchiveReader::Kind::Zip);
    if (!zip) return false;
    const auto index = FindMember(*zip, request.name);
    if (!index) return false;
    const ArchiveMember& member = zip->Members()[*index];
    // Refused before anything is written for it.
    if (!member.extractable) return false;
    const std::wstring relative = request.relative.str();
    const std::wstring folder = ParentOf(relative);
    if (!folder.empty() && !cache.CreateFolders(folder)) return false;

    // Files are stamped with the member's date: make sure that works in this
    // folder before writing anything.
    const std::wstring check = Join(folder, kDateCheckName);
    const auto checkFile = cache.CreateFile(check);
    if (!checkFile) return false;
    const auto date = DosDateTimeToFileTime(member.dosDate, member.dosTime);
    if (!date) SetLastError(kErrorInvalidParameter);
    if (!date || !checkFile->Commit(std::nullopt, date)) {
        // Once this ended the whole program; the caller now gets a failure
        // and the user keeps the application and its unsaved work.
        const unsigned error = GetLastError();
        cache.RemoveFile(check);
        const CString shownFolder(ArchiveCacheFolder().str() + (folder.empty() ? L"" : L"\\" + folder));
        const std::wstring text = Format(
            TranslateMessage("Fehler beim \xE4ndern des Dateidatums!\r\nEntpackvorgang wird nicht fortgesetzt\r\n"
                             "Verzeichnis: %s\r\nFehlercode: %d"),
            shownFolder.GetString(), static_cast<int>(error));
        ShowAppMessage(text.c_str(), MB_OK | MB_ICONERROR);
        return false;
    }
    cache.RemoveFile(check);
    return CopyMember(*zip, *index, cache, relative, std::nullopt, date);
}

bool ArchiveCache::ExtractFromCabinet(const DataArchive& archive, const Request& request, PrivateFolder& cache) {
    OpenCabinet* cabinet = Cabinet(request.folder, archive.path);
    if (!cabinet) return false;
    const auto index = FindMember(*cabinet->reader, request.name);
    if (!index) return false;
    const ArchiveMember& member = cabinet->reader->Members()[*index];
    const std::wstring relative = request.relative.str();
    const std::wstring folder = ParentOf(relative);
    if (!folder.empty() && !cache.CreateFolders(folder, &cabinet->createdFolders)) return false;
    // A member with an impossible date keeps the time of its extraction.
    const auto date = DosDateTimeToFileTime(member.dosDate, member.dosTime);
    if (!CopyMember(*cabinet->reader, *index, cache, relative, date, date)) return false;
    if (std::find(cabinet->extracted.begin(), cabinet->extracted.end(), relative) == cabinet->extracted.end())
        cabinet->extracted.push_back(relative);
    return true;
}

int ArchiveCache::Access(const CString& path, bool checkDisk) {
    const auto request = SplitRequest(path);
    if (!request) return 0;
    if (checkDisk && FileExists(request->path.str()) && IsReadable(request->path.str())) return 1;
    const std::wstring folder = request->folder.str();
    const std::wstring zipPath = folder + L"data.zip";
    if (IsReadable(zipPath)) {
        if (const auto zip = ArchiveReader::Open(zipPath, ArchiveReader::Kind::Zip); zip && FindMember(*zip, request->name))
            return 1;
    }
    const std::wstring cabinetPath = folder + L"data.cab";
    if (IsReadable(cabinetPath)) {
        if (const OpenCabinet* cabinet = Cabinet(request->folder, cabinetPath);
            cabinet && FindMember(*cabinet->reader, request->name))
            return 1;
    }
    return 0;
}

void ArchiveCache::Destroy() {
    decisions_.clear();
    const CString cacheFolder = ArchiveCacheFolder();
    if (!cabinets_.empty() && DirectoryExists(cacheFolder.str())) {
        if (const auto cache = PrivateFolder::Open(cacheFolder.str())) {
            for (auto& [key, cabinet] : cabinets_) {
                for (const std::wstring& file : cabinet.extracted) cache->RemoveFile(file);
                for (auto folder = cabinet.createdFolders.rbegin(); folder != cabinet.createdFolders.rend(); ++folder)
                    cache->RemoveEmptyFolder(*folder);
            }
        }
    }
    cabinets_.clear();
    PrivateFolder::RemoveTree(cacheFolder.str());
}

}  // namespace

std::optional<DataArchive> FindDataArchive(const CString& folder) {
    std::wstring base = folder.str();
    if (!base.empty() && base.back() != L'\\' && base.back() != L'/') base += L'\\';
    for (const auto& [name, kind] : {std::pair{L"data.zip", ArchiveReader::Kind::Zip},
                                     std::pair{L"data.cab", ArchiveReader::Kind::Cabinet}}) {
        const std::wstring path = base + name;
        if (FileExists(path) && IsReadable(path)) return DataArchive{path, kind};
    }
    return std::nullopt;
}

bool IsMemberFor(const ArchiveMember& member, const CString& name) {
    if (member.name.find_first_of(L"\\/", 0) != std::wstring::npos || member.name.find(L'\0') != std::wstring::npos)
        return false;
    return !name.IsEmpty() && Folded(member.name) == Folded(name.str());
}

}  // namespace qx

int CCabinetHandling::accessFile(CString path, int checkDisk) {
    return qx::ArchiveCache::Instance().Access(path, checkDisk != 0);
}

int CCabinetHandling::getUncabedPathName(CString path, CString& usablePath) {
    return qx::ArchiveCache::Instance().GetUsablePath(path, usablePath);
}

void CCabinetHandling::destroy() { qx::ArchiveCache::Instance().Destroy(); }
