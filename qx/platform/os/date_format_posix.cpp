#include <unicode/gregocal.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

#include <string>

#include "qx/platform/base/utf.h"
#include "qx/platform/os/date_format.h"

namespace qx {
namespace {

size_t RunLength(std::wstring_view text, size_t start) {
    size_t end = start;
    while (end < text.size() && text[end] == text[start]) ++end;
    return end - start;
}

// ICU's pattern for the picture. Literal text is gathered and quoted as a
// whole between fields, since ICU gives a meaning to every ASCII letter and
// reads two adjacent quoted pieces as one holding a quote.
class IcuPatternBuilder {
public:
    std::wstring Build(std::wstring_view picture) {
        size_t i = 0;
        while (i < picture.size()) {
            const wchar_t ch = picture[i];
            if (ch == L'\'') {
                i = TakeQuoted(picture, i + 1);
                continue;
            }
            const size_t run = RunLength(picture, i);
            if (ch == L'd' && run >= 3) Field(run == 3 ? L"EEE" : L"EEEE");
            else if (ch == L't') Field(L"a");
            else if (std::wstring_view(L"dMyhHms").find(ch) != std::wstring_view::npos) Field(picture.substr(i, run));
            else literal_.append(picture.substr(i, run));
            i += run;
        }
        FlushLiteral();
        return pattern_;
    }

private:
    // Text up to the closing quote (a doubled quote inside stands for one);
    // returns the position after it.
    size_t TakeQuoted(std::wstring_view picture, size_t i) {
        while (i < picture.size()) {
            if (picture[i] != L'\'') {
                literal_ += picture[i++];
            } else if (i + 1 < picture.size() && picture[i + 1] == L'\'') {
                literal_ += L'\'';
                i += 2;
            } else {
                return i + 1;
            }
        }
        return i;
    }

    void Field(std::wstring_view letters) {
        FlushLiteral();
        pattern_.append(letters);
    }

    void FlushLiteral() {
        if (literal_.empty()) return;
        pattern_ += L'\'';
        for (const wchar_t ch : literal_) {
            if (ch == L'\'') pattern_ += L'\'';
            pattern_ += ch;
        }
        pattern_ += L'\'';
        literal_.clear();
    }

    std::wstring pattern_;
    std::wstring literal_;
};

// "de_DE.UTF-8@euro" -> "de_DE". The C locale, and a language ICU has no
// names for (it would fall back to its root locale, whose month names are
// "M01" and the like), speak English.
icu::Locale IcuLocale(std::string_view locale) {
    const std::string name(locale.substr(0, locale.find_first_of(".@")));
    const icu::Locale candidate(name.c_str());
    if (name.empty() || name == "C" || name == "POSIX" || candidate.isBogus()) return icu::Locale::getUS();
    int32_t count = 0;
    const icu::Locale* available = icu::Locale::getAvailableLocales(count);
    for (int32_t i = 0; i < count; ++i) {
        if (std::string_view(available[i].getLanguage()) == candidate.getLanguage()) return candidate;
    }
    return icu::Locale::getUS();
}

icu::UnicodeString ToIcu(std::wstring_view text) {
    const std::u16string units = WideToUtf16(text);
    return icu::UnicodeString(units.data(), static_cast<int32_t>(units.size()));
}

std::wstring FromIcu(const icu::UnicodeString& text) {
    return Utf16ToWide(std::u16string_view(text.getBuffer(), static_cast<size_t>(text.length())));
}

}  // namespace

std::wstring FormatCalendarTime(const CalendarTime& time, std::wstring_view picture, std::string_view locale) {
    UErrorCode status = U_ZERO_ERROR;
    icu::SimpleDateFormat format(ToIcu(IcuPatternBuilder().Build(picture)), IcuLocale(locale), status);
    // The fields are shown as they are: both the calendar and the format
    // work in UTC, so no zone moves them.
    const icu::TimeZone* utc = icu::TimeZone::getGMT();
    icu::GregorianCalendar calendar(*utc, icu::Locale::getUS(), status);
    if (U_FAILURE(status)) return {};
    calendar.clear();
    calendar.set(time.year, time.month - 1, time.day, time.hour, time.minute, time.second);
    const UDate moment = calendar.getTime(status);
    if (U_FAILURE(status)) return {};
    format.setTimeZone(*utc);
    icu::UnicodeString result;
    format.format(moment, result);
    return FromIcu(result);
}

}  // namespace qx
