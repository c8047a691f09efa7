#include "qx/image/image_name.h"

#include <array>
#include <span>

#include "qx/platform/base/ascii.h"
#include "qx/platform/os/file_system.h"
#include "qx/platform/os/path_split.h"

namespace qx {
namespace {

struct KindExtension {
    ImageKind kind;
    const wchar_t* extension;
};

constexpr std::array<KindExtension, 7> kExtensions{{
    {ImageKind::Pcx, L".pcx"},
    {ImageKind::Bmp, L".bmp"},
    {ImageKind::Tif, L".tif"},
    {ImageKind::Slide, L".sld"},
    {ImageKind::SlideLibrary, L".slb"},
    {ImageKind::Dwg, L".dwg"},
    {ImageKind::Jpeg, L".jpg"},
}};

// The candidates probed for a base name, the current kind's own first.
std::span<const ImageKind> ProbingOrder(ImageKind current) {
    using K = ImageKind;
    static constexpr K kPcx[] = {K::Pcx, K::Bmp, K::Tif, K::Slide, K::Dwg, K::Jpeg};
    static constexpr K kBmp[] = {K::Bmp, K::Pcx, K::Tif, K::Slide, K::Dwg, K::Jpeg};
    static constexpr K kTif[] = {K::Tif, K::Pcx, K::Bmp, K::Slide, K::Dwg, K::Jpeg};
    static constexpr K kSld[] = {K::Slide, K::Pcx, K::Tif, K::Bmp, K::Dwg, K::Jpeg};
    static constexpr K kDwg[] = {K::Dwg, K::Pcx, K::Tif, K::Bmp, K::Slide};
    static constexpr K kJpg[] = {K::Jpeg, K::Pcx, K::Tif, K::Bmp, K::Slide, K::Dwg};
    switch (current) {
        case K::Bmp: return kBmp;
        case K::Tif: return kTif;
        case K::Slide: return kSld;
        case K::SlideLibrary: return {};  // a library is never probed for
        case K::Dwg: return kDwg;
        case K::Jpeg: return kJpg;
        default: return kPcx;
    }
}

// The probed candidates are written in capitals ("%s\%s.PCX").
std::wstring CandidateExtension(ImageKind kind) {
    std::wstring extension = kExtensions[static_cast<size_t>(kind)].extension;
    for (wchar_t& c : extension) c = AsciiUpper(c);
    return extension;
}

// Absolute: a network name ("\\server"), a drive ("C:") or, on this system,
// a name that begins at the root.
bool IsAbsoluteName(std::wstring_view name) {
    return (!name.empty() && IsPathSeparator(name[0])) || (name.size() >= 2 && name[1] == L':');
}

std::wstring InFolder(const std::wstring& folder, std::wstring_view name) {
    if (folder.empty()) return std::wstring(name);
    std::wstring path = folder;
    if (!IsPathSeparator(path.back())) path += L'\\';
    path += name;
    return path;
}

std::wstring FolderOrCurrent(const std::wstring& folder) { return folder.empty() ? CurrentDirectory() : folder; }

// The name's file part up to its first '.'.
std::wstring_view WithoutExtension(std::wstring_view name) {
    const size_t fileStart = name.size() - NamePart(name).size();
    const size_t dot = name.find(L'.', fileStart);
    return dot == std::wstring_view::npos ? name : name.substr(0, dot);
}

}  // namespace

ResolvedImage ResolveImageName(std::wstring_view name, ImageKind currentKind, std::wstring* defaultFolder) {
    ResolvedImage result;
    std::wstring file(name);
    // A library reference: the library's base with ".slb" and a slide name.
    if (const size_t question = file.find(L'?'); question != std::wstring::npos) {
        const std::wstring_view whole(file);
        result.slideName = std::wstring(WithoutExtension(whole.substr(question + 1)).substr(0, kMaxSlideName));
        file = std::wstring(WithoutExtension(whole.substr(0, question))) + L".slb";
    }
    if (IsAbsoluteName(file) && LastPathSeparator(file) != std::wstring::npos) {
        const size_t separator = LastPathSeparator(file);
        *defaultFolder = separator == 0 ? file.substr(0, 1) : file.substr(0, separator);
        file = file.substr(separator + 1);
    }
    const std::wstring folder = FolderOrCurrent(*defaultFolder);
    const auto standIn = [&] {
        result.kind = ImageKind::Pcx;
        result.path = StandInPicturePath(*defaultFolder);
        result.standIn = true;
        return result;
    };
    if (!DirectoryExists(folder)) return standIn();

    const std::wstring_view fileName = NamePart(file);
    const size_t dot = fileName.rfind(L'.');
    if (dot != std::wstring_view::npos) {
        const std::wstring_view extension = fileName.substr(dot);
        result.path = InFolder(folder, file);
        for (const KindExtension& known : kExtensions) {
            if (EqualsIgnoringAsciiCase(extension, std::wstring_view(known.extension))) {
                result.kind = known.kind;
                return IsReadable(result.path) ? result : standIn();
            }
        }
        // Another extension: a raster picture, whatever its content is.
        result.kind = ImageKind::Pcx;
        return result;
    }
    for (ImageKind candidate : ProbingOrder(currentKind)) {
        std::wstring path = InFolder(folder, file + CandidateExtension(candidate));
        if (IsReadable(path)) {
            result.kind = candidate;
            result.path = std::move(path);
            return result;
        }
    }
    return standIn();
}

std::wstring StandInPicturePath(const std::wstring& defaultFolder) {
    return InFolder(FolderOrCurrent(defaultFolder), L"default.pcx");
}

}  // namespace qx
