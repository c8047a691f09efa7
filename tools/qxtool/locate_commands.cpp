// qxtool locate: which variant of a data file an application of the family
// opens for a region and a language.
#include <string>
#include <vector>

#include "qx/install/localizer.h"
#include "qx/install/reg_util.h"
#include "qx/platform/base/utf.h"
#include "qx/platform/os/file_system.h"
#include "qx/platform/os/native_path.h"
#include "qx/text/path.h"
#include "tools/qxtool/command.h"

namespace qxtool {
namespace {

std::wstring Regions(CLocalizer& localizer) {
    CStringList regions;
    localizer.GetAvailableRegions(regions);
    std::wstring list;
    for (POSITION pos = regions.GetHeadPosition(); pos;) list += (list.empty() ? L"" : L", ") + regions.GetNext(pos).str();
    return list;
}

std::wstring Native(const CString& path) {
    const auto native = qx::ToNativePath(path.str());
    return native ? Wide(*native) : path.str();
}

int Locate(const std::vector<std::string>& input) {
    std::vector<std::string> args = input;
    std::string install;
    std::string region;
    std::string prefix;
    std::string company;
    if (!TakeOption(args, "--install", install)) throw UsageError("needs --install DIR");
    const bool regionGiven = TakeOption(args, "--region", region);
    const bool prefixGiven = TakeOption(args, "--prefix", prefix);
    const bool display = TakeFlag(args, "--display");
    const bool print = TakeFlag(args, "--print");
    if (TakeOption(args, "--company", company)) setRegCompany(Wide(company).c_str());
    RejectUnknownOptions(args);
    if (display && print) throw UsageError("--display and --print exclude each other");
    if (args.size() != 1) throw UsageError("expects one file");

    // Looking must not change the user's settings, so the localiser is not
    // initialised the way an application does it (that stores the region).
    CLocalizer& localizer = CLocalizer::instance();
    const std::wstring regionText = Wide(region);
    if (!localizer.inspect(Wide(install).c_str(), regionGiven ? regionText.c_str() : nullptr) && regionGiven) {
        const std::wstring known = Regions(localizer);
        throw Failure("no region " + region + " in the region maps of " + install +
                      (known.empty() ? std::string(" (there are none)") : " (regions: " + qx::WideToUtf8(known) + ")"));
    }

    const CPath asked(Wide(args[0]));
    const CString file = asked.IsAbsolute() ? CString(asked) : CString(CPath(Wide(install)) ^ asked);
    const std::wstring prefixText = Wide(prefix);
    const CString found = localizer.GetLocalizedFileEx(file, 1, display ? 1 : 0, print ? 1 : 0, 0,
                                                       prefixGiven ? prefixText.c_str() : nullptr);
    if (!qx::GetFileStatus(found.str())) throw Failure("no variant of " + args[0] + " exists");
    PrintUtf8(Native(found) + L"\n");
    return kExitOk;
}

constexpr Command kCommands[] = {
    {"locate", "FILE --install DIR [--region TOKEN] [--display | --print] [--prefix P] [--company NAME]",
     "show which variant of a data file an application opens",
     "FILE is a file (or a folder ending in /) of the installation DIR, relative to DIR\n"
     "unless absolute. The region maps of DIR/Support decide the region: --region\n"
     "TOKEN, else the one an application of the company would start in. --display\n"
     "adds the user's display language, --print the print language (both from the\n"
     "registry); --prefix P looks for P_FILE variants first.\n\n"
     "For Mask.txt in region DEU with language fr the order is Mask_DEU_fr.txt,\n"
     "Mask_DEU.txt, Mask_fr.txt, DEU/Mask_fr.txt, DEU/Mask.txt, fr/Mask_DEU.txt,\n"
     "fr/Mask.txt, then (unless Mask.txt exists) the same with en, finally Mask.txt.\n"
     "Prints the variant as a native path. Nothing is written to the registry.\n"
     "Exit 1 when no variant exists or the region is unknown.",
     Locate},
};

const CommandRegistrar registrar(kCommands);

}  // namespace
}  // namespace qxtool
