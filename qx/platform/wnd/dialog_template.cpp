#include "qx/platform/wnd/dialog_template.h"

#include "qx/platform/base/utf.h"
#include "qx/platform/wnd/window_constants.h"

namespace qx {
namespace {

// Predefined control classes by the atoms templates name them with.
constexpr struct {
    WORD atom;
    const wchar_t* name;
} kClassAtoms[] = {{0x80, L"Button"}, {0x81, L"Edit"}, {0x82, L"Static"},
                   {0x83, L"ListBox"}, {0x84, L"ScrollBar"}, {0x85, L"ComboBox"}};

class Reader {
public:
    Reader(const std::uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool Word(WORD& value) {
        if (pos_ > size_ || size_ - pos_ < 2) return Fail("the template ends early");
        value = static_cast<WORD>(data_[pos_] | (data_[pos_ + 1] << 8));
        pos_ += 2;
        return true;
    }
    bool Dword(DWORD& value) {
        WORD low, high;
        if (!Word(low) || !Word(high)) return false;
        value = low | (static_cast<DWORD>(high) << 16);
        return true;
    }
    bool Short(int& value) {
        WORD word;
        if (!Word(word)) return false;
        value = static_cast<std::int16_t>(word);
        return true;
    }
    // A UTF-16 text ending with a zero word.
    bool Text(std::wstring& text) {
        std::u16string units;
        for (WORD unit; Word(unit) && unit != 0;) units.push_back(static_cast<char16_t>(unit));
        if (!ok_) return false;
        text = Utf16ToWide(units);
        return true;
    }
    // A text, or 0xFFFF and an ordinal (*ordinal* set), or nothing (0).
    bool TextOrOrdinal(std::wstring& text, int& ordinal) {
        ordinal = -1;
        text.clear();
        WORD first;
        if (!Word(first)) return false;
        if (first == 0) return true;
        if (first == 0xFFFF) {
            WORD value;
            if (!Word(value)) return false;
            ordinal = value;
            return true;
        }
        pos_ -= 2;
        return Text(text);
    }
    void AlignTo(size_t bytes) { pos_ = (pos_ + bytes - 1) / bytes * bytes; }
    bool Skip(size_t bytes) {
        if (pos_ > size_ || size_ - pos_ < bytes) return Fail("the template ends early");
        pos_ += bytes;
        return true;
    }
    bool Fail(const char* why) {
        if (ok_) why_ = why;
        ok_ = false;
        return false;
    }
    const std::string& Why() const { return why_; }

private:
    const std::uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    bool ok_ = true;
    std::string why_;
};

bool ReadRect(Reader& in, CRect& rect) {
    int x, y, cx, cy;
    if (!in.Short(x) || !in.Short(y) || !in.Short(cx) || !in.Short(cy)) return false;
    rect = CRect(x, y, x + cx, y + cy);
    return true;
}

bool ReadItem(Reader& in, bool extended, DialogItemTemplate& item) {
    in.AlignTo(4);
    if (extended) {
        DWORD id;
        if (!in.Dword(item.helpId) || !in.Dword(item.exStyle) || !in.Dword(item.style) || !ReadRect(in, item.rect) ||
            !in.Dword(id)) {
            return false;
        }
        item.id = static_cast<int>(id);
    } else {
        WORD id;
        if (!in.Dword(item.style) || !in.Dword(item.exStyle) || !ReadRect(in, item.rect) || !in.Word(id)) return false;
        item.id = static_cast<std::int16_t>(id);
    }
    int atom, ordinal;
    if (!in.TextOrOrdinal(item.className, atom) || !in.TextOrOrdinal(item.text, ordinal)) return false;
    if (atom >= 0) {
        for (const auto& known : kClassAtoms) {
            if (known.atom == atom) item.className = known.name;
        }
        if (item.className.empty()) return in.Fail("a control names an unknown class atom");
    }
    if (ordinal >= 0) item.text = L"#" + std::to_wstring(ordinal);
    WORD extra;
    if (!in.Word(extra)) return false;
    return in.Skip(extra);
}

void PutWord(std::vector<std::uint8_t>& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}
void PutDword(std::vector<std::uint8_t>& out, DWORD value) {
    PutWord(out, value & 0xFFFF);
    PutWord(out, value >> 16);
}
void PutText(std::vector<std::uint8_t>& out, const std::wstring& text) {
    for (char16_t unit : WideToUtf16(text)) PutWord(out, unit);
    PutWord(out, 0);
}
void PutRect(std::vector<std::uint8_t>& out, const CRect& r) {
    PutWord(out, static_cast<unsigned>(r.left) & 0xFFFF);
    PutWord(out, static_cast<unsigned>(r.top) & 0xFFFF);
    PutWord(out, static_cast<unsigned>(r.Width()) & 0xFFFF);
    PutWord(out, static_cast<unsigned>(r.Height()) & 0xFFFF);
}
void Align(std::vector<std::uint8_t>& out) {
    while (out.size() % 4) out.push_back(0);
}

}  // namespace

std::optional<DialogTemplate> ReadDialogTemplate(const void* data, size_t size, std::string* why) {
    Reader in(static_cast<const std::uint8_t*>(data), data ? size : 0);
    DialogTemplate dialog;
    WORD first = 0, second = 0, count = 0;
    bool extended = false;
    auto fail = [&]() -> std::optional<DialogTemplate> {
        if (why) *why = in.Why();
        return std::nullopt;
    };
    if (!in.Word(first) || !in.Word(second)) return fail();
    if (first == 1 && second == 0xFFFF) {
        extended = true;
        if (!in.Dword(dialog.helpId) || !in.Dword(dialog.exStyle) || !in.Dword(dialog.style)) return fail();
    } else {
        dialog.style = first | (static_cast<DWORD>(second) << 16);
        if (!in.Dword(dialog.exStyle)) return fail();
    }
    if (!in.Word(count) || !ReadRect(in, dialog.rect)) return fail();
    std::wstring menu, className;
    int menuOrdinal, classOrdinal;
    if (!in.TextOrOrdinal(menu, menuOrdinal) || !in.TextOrOrdinal(dialog.className, classOrdinal) ||
        !in.Text(dialog.title)) {
        return fail();
    }
    if (!menu.empty() || menuOrdinal >= 0) {
        in.Fail("the template names a menu");
        return fail();
    }
    if (classOrdinal >= 0) {
        in.Fail("the template names its class by an atom");
        return fail();
    }
    if (dialog.style & DS_SETFONT) {
        WORD points;
        if (!in.Word(points)) return fail();
        dialog.pointSize = points;
        if (extended) {
            WORD weight, italicAndCharset;
            if (!in.Word(weight) || !in.Word(italicAndCharset)) return fail();
            dialog.weight = weight;
            dialog.italic = (italicAndCharset & 0xFF) != 0;
        }
        if (!in.Text(dialog.faceName)) return fail();
    }
    for (WORD i = 0; i < count; ++i) {
        DialogItemTemplate item;
        if (!ReadItem(in, extended, item)) return fail();
        dialog.items.push_back(std::move(item));
    }
    return dialog;
}

std::vector<std::uint8_t> WriteDialogTemplate(const DialogTemplate& dialog) {
    std::vector<std::uint8_t> out;
    PutWord(out, 1);
    PutWord(out, 0xFFFF);
    PutDword(out, dialog.helpId);
    PutDword(out, dialog.exStyle);
    PutDword(out, dialog.style | DS_SETFONT);
    PutWord(out, static_cast<unsigned>(dialog.items.size()) & 0xFFFF);
    PutRect(out, dialog.rect);
    PutWord(out, 0);  // no menu
    PutText(out, dialog.className);
    PutText(out, dialog.title);
    PutWord(out, static_cast<unsigned>(dialog.pointSize));
    PutWord(out, static_cast<unsigned>(dialog.weight));
    PutWord(out, dialog.italic ? 1u | (1u << 8) : (1u << 8));  // italic, DEFAULT_CHARSET
    PutText(out, dialog.faceName);
    for (const DialogItemTemplate& item : dialog.items) {
        Align(out);
        PutDword(out, item.helpId);
        PutDword(out, item.exStyle);
        PutDword(out, item.style);
        PutRect(out, item.rect);
        PutDword(out, static_cast<DWORD>(item.id));
        PutText(out, item.className);
        PutText(out, item.text);
        PutWord(out, 0);  // no creation data
    }
    return out;
}

}  // namespace qx
