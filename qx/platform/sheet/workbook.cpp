#include "qx/platform/sheet/workbook.h"

#include <algorithm>
#include <charconv>

#include "qx/platform/base/utf.h"
#include "qx/platform/os/file_system.h"
#include "qx/platform/sheet/internal/last_error_text.h"
#include "qx/platform/sheet/internal/package.h"
#include "qx/platform/sheet/internal/sheet_names.h"
#include "qx/platform/sheet/internal/workbook_data.h"
#include "qx/platform/sheet/internal/element_order.h"
#include "qx/platform/sheet/internal/xml.h"

namespace qx::sheet {

using namespace detail;

namespace {

bool Fail(std::wstring* error, const std::string& message) {
    if (error) *error = Utf8ToWide(message);
    return false;
}

std::string Native(std::wstring_view path) { return WideToUtf8(path); }

// The ending of the file name in *path* (".xlsx"), "" without one.
std::wstring_view Extension(std::wstring_view path) {
    const size_t dot = path.rfind(L'.');
    if (dot == std::wstring_view::npos || path.find_first_of(L"\\/", dot) != std::wstring_view::npos) return {};
    return path.substr(dot);
}

constexpr std::string_view kEmptyWorkbookTypes =
    "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
    "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
    "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
    "<Override PartName=\"/xl/workbook.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
    "<Override PartName=\"/xl/worksheets/sheet1.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>"
    "</Types>";
constexpr std::string_view kEmptyWorkbookRootRels =
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
    "Target=\"xl/workbook.xml\"/></Relationships>";
constexpr std::string_view kEmptyWorkbookRels =
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
    "Target=\"worksheets/sheet1.xml\"/></Relationships>";

std::string EmptyWorkbookPart(std::string_view sheetName) {
    std::string part =
        "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
        "<bookViews><workbookView activeTab=\"0\"/></bookViews><sheets><sheet name=\"";
    AppendEscaped(part, sheetName, true);
    part += "\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>";
    return part;
}

// The prefix the workbook part gives the relationships namespace ("r:"),
// declared on its root when missing.
std::string RelationshipPrefix(pugi::xml_node root) {
    for (pugi::xml_attribute a = root.first_attribute(); a; a = a.next_attribute()) {
        const std::string_view name = a.name();
        const std::string_view value = a.value();
        if (name.starts_with("xmlns:") && (value == relationship::kBase || value.ends_with("/officeDocument/relationships")))
            return std::string(name.substr(6)) + ":";
    }
    std::string prefix = "r";
    while (root.attribute(("xmlns:" + prefix).c_str())) prefix += "r";
    root.append_attribute(("xmlns:" + prefix).c_str()) = std::string(relationship::kBase).c_str();
    return prefix + ":";
}

template <typename Call>
auto Guarded(std::wstring* error, Call call) -> decltype(call()) {
    try {
        return call();
    } catch (const std::bad_alloc&) {
        Fail(error, "there is not enough memory for it");
    } catch (const std::exception& e) {
        Fail(error, std::string("it cannot be read: ") + e.what());
    }
    return {};
}

}  // namespace

Workbook::Workbook() : data_(std::make_unique<WorkbookData>()) {}
Workbook::~Workbook() = default;

std::unique_ptr<Workbook> Workbook::Open(std::wstring_view path, std::wstring* error) {
    const auto size = GetFileSize(path);
    if (!size) return Fail(error, "cannot read " + Native(path) + ": " + LastErrorText()), nullptr;
    if (*size > kMaxPackageBytes)
        return Fail(error, Native(path) + " is larger than " + std::to_string(kMaxPackageBytes >> 20) + " MiB"), nullptr;
    const auto bytes = ReadWholeFile(path);
    if (!bytes) return Fail(error, "cannot read " + Native(path) + ": " + LastErrorText()), nullptr;
    std::wstring why;
    auto book = FromBytes(*bytes, &why);
    if (!book) Fail(error, Native(path) + ": " + WideToUtf8(why));
    return book;
}

std::unique_ptr<Workbook> Workbook::FromBytes(std::string_view bytes, std::wstring* error) {
    return Guarded(error, [&]() -> std::unique_ptr<Workbook> {
        const ZipLimits limits{kMaxParts, kMaxUnpackedBytes, kMaxPartBytes};
        auto parts = ReadZipMembers(bytes, limits);
        if (!parts) {
            Fail(error, "it is no readable zip archive, or unpacks to more than " + std::to_string(kMaxPartBytes >> 20) +
                            " MiB in a member or " + std::to_string(kMaxUnpackedBytes >> 20) + " MiB in all");
            return nullptr;
        }
        return FromParts(std::move(*parts), error);
    });
}

std::unique_ptr<Workbook> Workbook::FromParts(std::vector<ZipMember> parts, std::wstring* error) {
    return Guarded(error, [&]() -> std::unique_ptr<Workbook> {
        std::unique_ptr<Workbook> book(new Workbook());
        std::string why;
        if (!ReadWorkbook(std::move(parts), *book, *book->data_, why)) {
            Fail(error, why);
            return nullptr;
        }
        return book;
    });
}

std::unique_ptr<Workbook> Workbook::Create(std::wstring_view sheetName) {
    WorkbookData empty;
    std::string ignored;
    const std::wstring name = CheckSheetName(empty, sheetName, nullptr, ignored) ? std::wstring(sheetName) : L"Sheet1";
    std::vector<ZipMember> parts = {
        {"[Content_Types].xml", std::string(kEmptyWorkbookTypes)},
        {"_rels/.rels", std::string(kEmptyWorkbookRootRels)},
        {"xl/workbook.xml", EmptyWorkbookPart(WideToUtf8(name))},
        {"xl/_rels/workbook.xml.rels", std::string(kEmptyWorkbookRels)},
        {"xl/worksheets/sheet1.xml", std::string(EmptyWorksheet())},
    };
    return FromParts(std::move(parts));
}

std::optional<std::string> Workbook::SaveToBytes(std::wstring_view extension, std::wstring* error) {
    try {
        std::vector<ZipMember> parts;
        std::string why;
        if (!WritePackage(*data_, extension, parts, why)) return Fail(error, why), std::nullopt;
        // Large parts are packed fast rather than small.
        size_t total = 0;
        for (const ZipMember& part : parts) total += part.data.size();
        auto bytes = WriteZipMembers(parts, total > (8u << 20) ? 1 : 6);
        if (!bytes) return Fail(error, "the zip archive cannot be made"), std::nullopt;
        return bytes;
    } catch (const std::bad_alloc&) {
        Fail(error, "there is not enough memory to write it");
        return std::nullopt;
    }
}

bool Workbook::Save(std::wstring_view path, std::wstring* error) {
    std::wstring why;
    const auto bytes = SaveToBytes(Extension(path), &why);
    if (!bytes) return Fail(error, "cannot write " + Native(path) + ": " + WideToUtf8(why));
    if (!WriteFileAtomically(path, *bytes)) return Fail(error, "cannot write " + Native(path) + ": " + LastErrorText());
    return true;
}

bool Workbook::IsTemplate() const { return data_->isTemplate; }
std::size_t Workbook::SheetCount() const { return data_->sheets.size(); }

Sheet* Workbook::SheetAt(std::size_t index) const {
    return index < data_->sheets.size() ? data_->sheets[index].get() : nullptr;
}

Sheet* Workbook::FindSheet(std::wstring_view name) const {
    for (const auto& sheet : data_->sheets) {
        if (sheet->Name() == name) return sheet.get();
    }
    return nullptr;
}

std::size_t Workbook::IndexOf(const Sheet& sheet) const {
    for (std::size_t i = 0; i < data_->sheets.size(); ++i) {
        if (data_->sheets[i].get() == &sheet) return i;
    }
    return data_->sheets.size();
}

Sheet* Workbook::AddSheet(std::wstring_view name, std::wstring* error) {
    WorkbookData& book = *data_;
    std::wstring chosen(name);
    std::string why;
    for (size_t n = book.sheets.size() + 1; chosen.empty(); ++n) {
        const std::wstring candidate = L"Sheet" + std::to_wstring(n);
        if (CheckSheetName(book, candidate, nullptr, why)) chosen = candidate;
    }
    if (!CheckSheetName(book, chosen, nullptr, why)) return Fail(error, why), nullptr;

    auto taken = [&](const std::string& part) {
        if (FindPart(book.parts, part)) return true;
        return std::any_of(book.sheets.begin(), book.sheets.end(),
                           [&](const auto& s) { return SamePart(book.DataOf(*s).part, part); });
    };
    std::string part;
    for (size_t n = book.sheets.size() + 1; part.empty() || taken(part); ++n) part = "xl/worksheets/sheet" + std::to_string(n) + ".xml";

    auto data = std::make_unique<SheetData>();
    data->book = &book;
    data->owner = this;
    data->name = chosen;
    data->part = part;
    std::string ignored;
    ReadWorksheet(EmptyWorksheet(), {}, *data, ignored);

    pugi::xml_node relsRoot = book.workbookRels.document_element();
    const std::string id = FreeRelationshipId(book.workbookRels);
    pugi::xml_node rel = relsRoot.append_child((Prefix(relsRoot) + "Relationship").c_str());
    rel.append_attribute("Id") = id.c_str();
    rel.append_attribute("Type") = (std::string(relationship::kBase) + std::string(relationship::kWorksheet)).c_str();
    rel.append_attribute("Target") = RelativeTarget(book.workbookPart, part).c_str();
    SetContentType(book.contentTypes, part, content_type::kWorksheet);

    pugi::xml_node root = book.workbook.document_element();
    pugi::xml_node sheets = ChildInOrder(root, "sheets", kWorkbookOrder);
    // The smallest sheet id not in use.
    std::vector<std::uint64_t> ids;
    for (const auto& sheet : book.sheets) ids.push_back(Attribute(book.DataOf(*sheet).entry, "sheetId").as_ullong());
    std::sort(ids.begin(), ids.end());
    std::uint64_t sheetId = 1;
    for (std::uint64_t used : ids) sheetId += used == sheetId;
    const std::string relPrefix = RelationshipPrefix(root);
    pugi::xml_node entry = sheets.append_child((Prefix(root) + "sheet").c_str());
    entry.append_attribute("name") = WideToUtf8(chosen).c_str();
    entry.append_attribute("sheetId") = static_cast<unsigned long long>(sheetId);
    entry.append_attribute((relPrefix + "id").c_str()) = id.c_str();
    data->entry = entry;

    book.sheets.push_back(WorkbookData::MakeSheet(std::move(data)));
    return book.sheets.back().get();
}

bool Workbook::Activate(Sheet& sheet) {
    const std::size_t index = IndexOf(sheet);
    if (index >= data_->sheets.size() || sheet.IsHidden()) return false;
    pugi::xml_node root = data_->workbook.document_element();
    pugi::xml_node views = ChildInOrder(root, "bookViews", kWorkbookOrder);
    pugi::xml_node view = Child(views, "workbookView");
    if (!view) view = views.append_child((Prefix(views) + "workbookView").c_str());
    pugi::xml_attribute active = Attribute(view, "activeTab");
    if (!active) active = view.append_attribute("activeTab");
    active = static_cast<unsigned>(index);
    if (pugi::xml_attribute first = Attribute(view, "firstSheet"); first && first.as_uint() > index)
        first = static_cast<unsigned>(index);
    // Only the active sheet is selected: several selected sheets are a
    // group, which edits all of them at once.
    for (const auto& other : data_->sheets) {
        SheetData& data = data_->DataOf(*other);
        if (!data.worksheet) continue;
        pugi::xml_node sheetView = Child(Child(data.rest.document_element(), "sheetViews"), "sheetView");
        sheetView.remove_attribute("tabSelected");
        if (other.get() == &sheet) sheetView.append_attribute("tabSelected") = "1";
    }
    return true;
}

Sheet* Workbook::ActiveSheet() const {
    pugi::xml_node view = Child(Child(data_->workbook.document_element(), "bookViews"), "workbookView");
    const std::size_t index = Attribute(view, "activeTab").as_uint();
    return index < data_->sheets.size() ? data_->sheets[index].get() : data_->sheets.front().get();
}

std::vector<Workbook::DefinedName> Workbook::DefinedNames() const {
    std::vector<DefinedName> names;
    pugi::xml_node list = Child(data_->workbook.document_element(), "definedNames");
    for (pugi::xml_node n = list.first_child(); n; n = n.next_sibling()) {
        if (n.type() != pugi::node_element || LocalName(n) != "definedName") continue;
        DefinedName name{Utf8ToWide(AttributeText(n, "name")), Utf8ToWide(TextOf(n)), std::nullopt};
        if (pugi::xml_attribute local = Attribute(n, "localSheetId")) name.sheet = local.as_uint();
        names.push_back(std::move(name));
    }
    return names;
}

}  // namespace qx::sheet
