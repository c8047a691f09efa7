// GetLocalizedFileEx for a data file with a current region and a display
// language: Mask.txt in region DEU with language fr, where the variant that
// exists is DEU\Mask_fr.txt, the fourth the search tries. The peer, in the
// same run, asks the file system about the same four names
// (std::filesystem::exists), which is the least any such search must do;
// the ratio is what the search adds to it: reading the language from the
// registry store, building the names, mapping the paths.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "qx/install/localizer.h"
#include "qx/install/reg_functions.h"
#include "qx/install/reg_util.h"
#include "qx/platform/os/native_path.h"
#include "qx/platform/os/registry_store.h"

namespace {

namespace fs = std::filesystem;

void Touch(const fs::path& file, const std::string& text = "x") {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << text;
}

// An installation with one region map and the data file's variants, and a
// registry of its own, both in the temporary folder.
class Installation {
public:
    static Installation& Get() {
        static Installation installation;
        return installation;
    }
    ~Installation() {
        CLocalizer::destroy();
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    const std::wstring& maskFile() const { return mask_; }
    const fs::path& data() const { return data_; }

private:
    Installation() : root_(fs::temp_directory_path() / "qxbench-localize"), data_(root_ / "inst" / "Data") {
        fs::remove_all(root_);
        fs::create_directories(root_ / "registry");
        ::setenv("QX_REGISTRY_DIR", (root_ / "registry").c_str(), 1);
        qx::ResetRegistry();
        setRegCompany(L"Bench");
        RegSetValueW(HKEY_CURRENT_USER, L"Software\\Bench\\Env", L"Lang", L"fr");
        Touch(root_ / "inst" / "Support" / "Map_1.Region",
              "[Regions]\n[Region]\nName:DEU\nDefaultLanguage:de\n[ENDE_Region]\n[ENDE_Regions]\n");
        Touch(data_ / "Mask.txt");
        Touch(data_ / "DEU" / "Mask_fr.txt");
        // An installation's folders are not being changed while it runs: set
        // back an hour, their listings count as settled from the first
        // look-up, as they would some time after the set-up.
        for (const fs::path& folder : {root_ / "inst", root_ / "inst" / "Support", data_, data_ / "DEU"})
            fs::last_write_time(folder, fs::file_time_type::clock::now() - std::chrono::hours(1));
        const std::wstring install = qx::FromNativePath((root_ / "inst").string());
        CLocalizer::instance().init(install.c_str());
        CLocalizer::instance().changeRegionTo(L"DEU");
        mask_ = qx::FromNativePath((data_ / "Mask.txt").string());
    }

    fs::path root_;
    fs::path data_;
    std::wstring mask_;
};

void BM_GetLocalizedFileEx(benchmark::State& state) {
    Installation& installation = Installation::Get();
    for (auto _ : state) {
        const CString found = CLocalizer::instance().GetLocalizedFileEx(installation.maskFile().c_str(), 1, 1, 0, 0, nullptr);
        if (found.Right(11) != L"Mask_fr.txt" || found.Find(L"DEU") < 0) state.SkipWithError("wrong variant");
        benchmark::DoNotOptimize(found);
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_Peer_FourExists(benchmark::State& state) {
    const fs::path data = Installation::Get().data();
    const fs::path candidates[] = {data / "Mask_DEU_fr.txt", data / "Mask_DEU.txt", data / "Mask_fr.txt",
                                   data / "DEU" / "Mask_fr.txt"};
    for (auto _ : state) {
        int found = 0;
        for (const fs::path& candidate : candidates) found += fs::exists(candidate) ? 1 : 0;
        if (found != 1) state.SkipWithError("wrong variant");
        benchmark::DoNotOptimize(found);
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_GetLocalizedFileEx);
BENCHMARK(BM_Peer_FourExists);

}  // namespace
