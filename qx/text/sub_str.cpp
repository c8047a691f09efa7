#include "qx/text/sub_str.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cwchar>
#include <vector>

#include "qx/platform/base/checked_length.h"
#include "qx/platform/base/number_parse.h"

namespace {

constexpr wchar_t kEscapedColon = 0x00AE;
constexpr wchar_t kApproximately = 0x2248;

// The two buffers every CQxSubStr shares and the object behind
// qxSubStrUtil. They live from first use to the end of the process.
struct PackedValueState {
    std::vector<wchar_t> build = std::vector<wchar_t>(1, L'\0');
    std::wstring read;
    CQxSubStr shared;

    // Room for *needed* characters from the buffer's beginning.
    wchar_t* Reserve(size_t needed) {
        if (build.size() < needed) build.resize(std::max({needed, build.size() * 2, size_t{1024}}));
        return build.data();
    }
};

PackedValueState& State() {
    static PackedValueState state;
    return state;
}

size_t SeparatorWidth(const CQxSubStr& s) {
    if (s.m_separator) return 1;
    return s.m_separatorText ? std::wcslen(s.m_separatorText) : 0;
}

template <typename Number>
void AddNumber(CQxSubStr& builder, Number value, auto... format) {
    char narrow[64];
    auto result = std::to_chars(narrow, narrow + sizeof narrow, value, format...);
    wchar_t wide[64];
    size_t n = static_cast<size_t>(result.ptr - narrow);
    for (size_t i = 0; i < n; ++i) wide[i] = static_cast<wchar_t>(narrow[i]);
    wide[n] = L'\0';
    builder.Add(wide);
}

}  // namespace

void CQxSubStr::AddInit(wchar_t separator) {
    m_separator = separator;
    // A zero separator character means the separator text; its length is
    // what AddEnd must take back.
    m_separatorLength = SeparatorWidth(*this);
    m_writePosition = 0;
}

void CQxSubStr::AddInit(wchar_t* separatorText) {
    m_separator = 0;
    m_separatorText = separatorText;
    m_separatorLength = separatorText ? std::wcslen(separatorText) : 0;
    m_writePosition = 0;
}

void CQxSubStr::WriteSeparator() {
    wchar_t* w = State().build.data() + m_writePosition;
    if (m_separator) {
        *w = m_separator;
        ++m_writePosition;
    } else if (m_separatorText) {
        size_t n = std::wcslen(m_separatorText);
        std::copy_n(m_separatorText, n, w);
        m_writePosition += n;
    }
}

void CQxSubStr::Add(const wchar_t* value) {
    if (!value) return;
    size_t length = std::wcslen(value);
    // Worst case every character doubles (CR, LF), then the separator and
    // the closing zero.
    wchar_t* buffer = State().Reserve(m_writePosition + 2 * length + SeparatorWidth(*this) + 1);
    wchar_t* w = buffer + m_writePosition;
    for (const wchar_t* p = value; *p; ++p) {
        switch (*p) {
            case L':': *w++ = kEscapedColon; break;
            case L'\r': *w++ = L'&'; *w++ = L'r'; break;
            case L'\n': *w++ = L'&'; *w++ = L'n'; break;
            default: *w++ = *p; break;
        }
    }
    m_writePosition = static_cast<size_t>(w - buffer);
    WriteSeparator();
    buffer[m_writePosition] = L'\0';
}

void CQxSubStr::Add(int value) { AddNumber(*this, value); }

void CQxSubStr::Add(const double& value) {
    if (value == 0.0) {
        Add(L"0");
        return;
    }
    AddNumber(*this, value, std::chars_format::general, 6);
}

void CQxSubStr::AddEnd(CString& out) {
    State().Reserve(m_writePosition + 1);
    std::vector<wchar_t>& buffer = State().build;
    if (m_writePosition != 0) {
        m_writePosition -= std::min(m_separatorLength, m_writePosition);
        buffer[m_writePosition] = L'\0';
    }
    // The list is the buffer's text up to its first zero: another object may
    // have started a list of its own in the shared buffer meanwhile.
    out = CString(buffer.data(), qx::CheckedLength<int>(wcsnlen(buffer.data(), m_writePosition)));
    m_writePosition = 0;
    buffer[0] = L'\0';
}

bool CQxSubStr::GetInit(const wchar_t* text, wchar_t separator) {
    m_readCursor = text;
    m_separator = separator;
    m_separatorLength = 1;
    return text && *text && *text != L'\r' && *text != L'\n';
}

bool CQxSubStr::Get(CString& out) {
    const wchar_t* p = m_readCursor;
    if (!p || !*p) {
        out.Empty();
        return false;
    }
    if (*p == kApproximately) ++p;
    std::wstring& value = State().read;
    value.clear();
    const wchar_t* separatorText = m_separator ? nullptr : m_separatorText;
    size_t separatorLength = separatorText ? std::wcslen(separatorText) : 0;
    for (;;) {
        wchar_t c = *p;
        if (!c || c == L'\n' || (c == L'\r' && p[1] == L'\n')) break;  // a line end stays unread
        if (m_separator) {
            if (c == m_separator) {
                ++p;
                break;
            }
        } else if (separatorLength && std::wcsncmp(p, separatorText, separatorLength) == 0) {
            p += separatorLength;
            break;
        }
        if (c == kEscapedColon) {
            value += L':';
            ++p;
        } else if (c == L'&' && p[1] == L'r') {
            value += L'\r';
            p += 2;
        } else if (c == L'&' && p[1] == L'n') {
            value += L'\n';
            p += 2;
        } else {
            value += c;
            ++p;
        }
    }
    m_readCursor = p;
    out = value;
    return *p != L'\0';
}

bool CQxSubStr::Get(int& out, bool force) {
    CString value;
    bool more = Get(value);
    if (!value.IsEmpty() || force) out = qx::PackedValueToInt(value);
    return more;
}

bool CQxSubStr::Get(double& out, bool force) {
    CString value;
    bool more = Get(value);
    if (!value.IsEmpty() || force) out = qx::PackedValueToDouble(value);
    return more;
}

bool CQxSubStr::Get(bool& out, bool /*flag*/) {
    CString value;
    bool more = Get(value);
    out = !value.IsEmpty() && qx::PackedValueToInt(value) != 0;
    return more;
}

void qxSubStrUtil::AddInit(wchar_t separator) { State().shared.AddInit(separator); }
void qxSubStrUtil::Add(const wchar_t* value) { State().shared.Add(value); }
void qxSubStrUtil::Add(int value) { State().shared.Add(value); }
void qxSubStrUtil::AddEnd(CString& out) { State().shared.AddEnd(out); }
bool qxSubStrUtil::GetInit(const wchar_t* text, wchar_t separator) { return State().shared.GetInit(text, separator); }

bool qxSubStrUtil::GetInit(const wchar_t* text, wchar_t* separatorText) {
    CQxSubStr& s = State().shared;
    s.m_readCursor = text;
    s.m_separator = 0;
    s.m_separatorText = separatorText;
    s.m_separatorLength = separatorText ? std::wcslen(separatorText) : 0;
    return text && *text && *text != L'\r' && *text != L'\n';
}

bool qxSubStrUtil::Get(CString& out) { return State().shared.Get(out); }
bool qxSubStrUtil::Get(int& out, bool force) { return State().shared.Get(out, force); }
bool qxSubStrUtil::Get(double& out, bool force) { return State().shared.Get(out, force); }
bool qxSubStrUtil::Get(bool& out, bool flag) { return State().shared.Get(out, flag); }

namespace qx {

double RoundTo10Decimals(double value) {
    constexpr double kScale = 1e10;
    double scaled = value * kScale;
    // Beyond the range of a signed 64-bit integer the value stays unrounded.
    if (!(std::fabs(scaled) < 9.2e18)) return value;
    double half = value < 0 ? -0.5 : 0.5;
    return static_cast<double>(static_cast<long long>(scaled + half)) / kScale;
}

int PackedValueToInt(const CString& value) { return ParseInt(value); }

double PackedValueToDouble(CString value) {
    value.Replace(L',', L'.');
    return RoundTo10Decimals(ParseDouble(value));
}

void ResetPackedValueState() {
    PackedValueState& s = State();
    s.build.assign(1, L'\0');
    s.build.shrink_to_fit();
    s.read.clear();
    s.read.shrink_to_fit();
    s.shared = CQxSubStr();
}

}  // namespace qx
