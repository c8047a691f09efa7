#include "qx/platform/os/terminal.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include <termios.h>
#include <unistd.h>

#include "qx/platform/base/utf.h"

namespace qx {
namespace {

constexpr size_t kLongestLine = 64 * 1024;

void WriteBytes(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(STDERR_FILENO, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return;
        bytes.remove_prefix(static_cast<size_t>(written));
    }
}

// -1 at the end of the input.
int ReadByte() {
    unsigned char byte = 0;
    for (;;) {
        const ssize_t n = read(STDIN_FILENO, &byte, 1);
        if (n == 1) return byte;
        if (n < 0 && errno == EINTR) continue;
        return -1;
    }
}

// The terminal without line editing and echo for the object's lifetime.
class RawMode {
public:
    RawMode() {
        if (tcgetattr(STDIN_FILENO, &saved_) != 0) return;
        termios raw = saved_;
        raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO | ISIG));
        raw.c_cc[VMIN] = 1;
        raw.c_cc[VTIME] = 0;
        active_ = tcsetattr(STDIN_FILENO, TCSAFLUSH, &raw) == 0;
    }
    ~RawMode() { Restore(); }
    RawMode(const RawMode&) = delete;
    RawMode& operator=(const RawMode&) = delete;
    void Restore() {
        if (active_) tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved_);
        active_ = false;
    }

private:
    termios saved_{};
    bool active_ = false;
};

std::optional<std::wstring> EditLine(std::wstring_view prompt, std::wstring_view preset) {
    RawMode raw;
    std::wstring line(preset);
    WriteBytes(WideToUtf8(prompt) + WideToUtf8(line));
    std::string pending;  // the bytes of a character not yet complete
    for (;;) {
        const int byte = ReadByte();
        if (byte < 0 || byte == 0x04 || byte == 0x1B) {
            // The end of the input, Ctrl-D, Escape: no answer. An escape
            // sequence's own bytes are left to the terminal's buffer flush.
            WriteBytes("\n");
            return std::nullopt;
        }
        if (byte == 0x03) {
            WriteBytes("\n");
            raw.Restore();
            std::raise(SIGINT);
            return std::nullopt;
        }
        if (byte == '\r' || byte == '\n') {
            WriteBytes("\n");
            return line;
        }
        if (byte == 0x7F || byte == 0x08) {
            if (!line.empty()) {
                line.pop_back();
                WriteBytes("\b \b");
            }
            continue;
        }
        if (byte == 0x15) {  // Ctrl-U
            for (size_t i = 0; i < line.size(); ++i) WriteBytes("\b \b");
            line.clear();
            continue;
        }
        if (byte < 0x20) continue;
        pending.push_back(static_cast<char>(byte));
        const auto lead = static_cast<unsigned char>(pending[0]);
        const size_t expected = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if (pending.size() < expected) continue;  // more bytes of this character to come
        size_t length = 0;
        const char32_t c = DecodeUtf8Char(pending, length);
        WriteBytes(pending);
        pending.clear();
        if (line.size() >= kLongestLine) return std::nullopt;
        line.push_back(static_cast<wchar_t>(c));
    }
}

std::optional<std::wstring> ReadPlainLine(std::wstring_view prompt, std::wstring_view preset) {
    WriteBytes(WideToUtf8(prompt));
    std::string bytes;
    for (;;) {
        const int byte = ReadByte();
        if (byte < 0) {
            if (bytes.empty()) return std::nullopt;
            break;
        }
        if (byte == '\n') break;
        if (bytes.size() >= kLongestLine) return std::nullopt;
        bytes.push_back(static_cast<char>(byte));
    }
    if (!bytes.empty() && bytes.back() == '\r') bytes.pop_back();
    return bytes.empty() ? std::wstring(preset) : Utf8ToWide(bytes);
}

}  // namespace

bool StandardErrorIsTerminal() { return isatty(STDERR_FILENO) == 1; }
bool StandardInputIsTerminal() { return isatty(STDIN_FILENO) == 1; }

bool TerminalIsDumb() {
    const char* term = std::getenv("TERM");
    return !StandardErrorIsTerminal() || !term || !*term || std::strcmp(term, "dumb") == 0;
}

void WriteToTerminal(std::wstring_view text) { WriteBytes(WideToUtf8(text)); }

std::optional<std::wstring> ReadTerminalLine(std::wstring_view prompt, std::wstring_view preset) {
    if (StandardInputIsTerminal() && StandardErrorIsTerminal()) return EditLine(prompt, preset);
    return ReadPlainLine(prompt, preset);
}

}  // namespace qx
