#include "qx/platform/os/registry_exchange.h"

#include <utility>

namespace qx {

namespace {

std::wstring Skipped(int line, std::wstring_view text, std::wstring_view reason) {
    std::wstring entry = L"line " + std::to_wstring(line) + L": " + std::wstring(text);
    const size_t lineEnd = entry.find(L'\n');
    if (lineEnd != entry.npos) entry.replace(lineEnd, entry.npos, L"...");
    return entry + L" (" + std::wstring(reason) + L")";
}

const wchar_t* KeptReason(RegFileLine::Flaw flaw) {
    switch (flaw) {
        case RegFileLine::Flaw::CutShort: return L"cut short: the file ends inside it";
        case RegFileLine::Flaw::InvalidName:
            return L"not a valid value name: longer than 16,383 characters or holding a zero";
        case RegFileLine::Flaw::NotUnderstood: break;
    }
    return L"not understood";
}

bool IsComment(std::wstring_view text) {
    while (!text.empty() && (text.front() == L' ' || text.front() == L'\t')) text.remove_prefix(1);
    return text.starts_with(L';');
}

}  // namespace

RegImportResult ImportRegFile(RegistryStore& store, std::string_view bytes) {
    const RegFileContent content = ParseRegFile(bytes);
    RegImportResult result;
    if (content.version == RegFileVersion::None)
        result.skipped.push_back(L"line 1: no \"Windows Registry Editor Version 5.00\" or \"REGEDIT4\" header (read anyway)");
    for (const RegFileLine& line : content.leading)
        if (!IsComment(line.text)) result.skipped.push_back(Skipped(line.lineNumber, line.text, L"before any key"));

    std::vector<RegEdit> edits;
    for (const RegFileSection& section : content.sections) {
        std::wstring_view rest;
        const auto root = section.malformed ? std::nullopt : SplitRegRoot(section.key, &rest);
        const auto key = root ? NormalizeRegKey(rest) : std::nullopt;
        if (!key) {
            const wchar_t* reason = section.malformed ? L"no closing bracket"
                                    : root           ? L"not a valid key name"
                                                     : L"a root this registry does not keep";
            result.skipped.push_back(Skipped(section.lineNumber, section.header, std::wstring(reason) + L"; section skipped"));
            continue;
        }
        if (section.remove) {
            edits.push_back({RegEdit::Op::DeleteKey, *root, *key, {}, {}});
            continue;
        }
        edits.push_back({RegEdit::Op::CreateKey, *root, *key, {}, {}});
        for (const RegFileLine& line : section.lines) {
            switch (line.kind) {
                case RegFileLine::Kind::SetValue:
                    edits.push_back({RegEdit::Op::SetValue, *root, *key, line.name, line.value});
                    break;
                case RegFileLine::Kind::DeleteValue:
                    edits.push_back({RegEdit::Op::DeleteValue, *root, *key, line.name, {}});
                    break;
                case RegFileLine::Kind::Kept:
                    if (!IsComment(line.text))
                        result.skipped.push_back(Skipped(line.lineNumber, line.text, KeptReason(line.flaw)));
                    break;
            }
        }
    }
    const auto applied = store.Apply(edits);
    result.stored = applied.has_value();
    result.applied = applied.value_or(0);
    return result;
}

std::optional<std::string> ExportRegKey(RegistryStore& store, RegRoot root, std::wstring_view key,
                                        RegFileEncoding encoding) {
    const auto start = NormalizeRegKey(key);
    if (!start || !store.KeyExists(root, *start)) return std::nullopt;
    RegFileWriter writer;
    const std::wstring rootName = RegRootName(root);
    // Depth first with a stack of its own: keys can nest deeper than calls.
    std::vector<std::wstring> pending = {*start};
    while (!pending.empty()) {
        const std::wstring current = std::move(pending.back());
        pending.pop_back();
        writer.BeginSection(current.empty() ? rootName : rootName + L'\\' + current);
        for (const std::wstring& name : store.ValueNames(root, current).value_or(std::vector<std::wstring>{}))
            if (const auto value = store.GetValue(root, current, name)) writer.WriteValue(name, *value);
        auto subkeys = store.SubkeyNames(root, current).value_or(std::vector<std::wstring>{});
        for (auto it = subkeys.rbegin(); it != subkeys.rend(); ++it)
            pending.push_back(current.empty() ? *it : current + L'\\' + *it);
    }
    return writer.Finish(encoding);
}

}  // namespace qx
