// Sending and posting messages, the thread's queue, timers and the clock.
#include <algorithm>
#include <deque>
#include <vector>

#include "qx/platform/os/process_info.h"
#include "qx/platform/wnd/internal/message_pump.h"
#include "qx/platform/wnd/internal/window_table.h"
#include "qx/platform/wnd/ui_host.h"
#include "qx/platform/wnd/window.h"

using qx::wnd::Find;

namespace {

struct Timer {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    UINT elapse = 0;
    std::uint64_t due = 0;
    TIMERPROC proc = nullptr;
};

// The thread's queue and timers; the library runs on one thread.
struct Queue {
    std::deque<MSG> posted;
    std::vector<Timer> timers;
    std::uint64_t clockOffset = 0;
};

Queue& TheQueue() {
    static Queue queue;
    return queue;
}

std::uint64_t Now() { return qx::TickCount64() + TheQueue().clockOffset; }

bool Matches(const MSG& msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    if (hwnd && msg.hwnd != hwnd && !IsChild(hwnd, msg.hwnd)) return false;
    if (filterMin == 0 && filterMax == 0) return true;
    return msg.message >= filterMin && msg.message <= filterMax;
}

}  // namespace

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    qx::wnd::Window* w = Find(hwnd);
    if (!w || !w->proc) return 0;
    qx::wnd::MessageScope scope;
    return w->proc(hwnd, message, wParam, lParam);
}

LRESULT SendDlgItemMessage(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessage(GetDlgItem(dialog, id), message, wParam, lParam);
}

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!proc || !IsWindow(hwnd)) return 0;
    qx::wnd::MessageScope scope;
    return proc(hwnd, message, wParam, lParam);
}

BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hwnd && !IsWindow(hwnd)) return FALSE;
    MSG msg;
    msg.hwnd = hwnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = GetTickCount();
    GetCursorPos(&msg.pt);
    TheQueue().posted.push_back(msg);
    return TRUE;
}

void PostQuitMessage(int exitCode) { PostMessage(nullptr, WM_QUIT, static_cast<WPARAM>(exitCode)); }

BOOL PeekMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
    Queue& queue = TheQueue();
    for (auto it = queue.posted.begin(); it != queue.posted.end(); ++it) {
        if (!Matches(*it, hwnd, filterMin, filterMax)) continue;
        if (msg) *msg = *it;
        if (removeFlags & PM_REMOVE) queue.posted.erase(it);
        return TRUE;
    }
    // Timers come after posted messages, the earliest due first.
    const std::uint64_t now = Now();
    auto due = queue.timers.end();
    for (auto it = queue.timers.begin(); it != queue.timers.end(); ++it) {
        if (it->due <= now && (due == queue.timers.end() || it->due < due->due)) due = it;
    }
    if (due == queue.timers.end()) return FALSE;
    MSG timer;
    timer.hwnd = due->hwnd;
    timer.message = WM_TIMER;
    timer.wParam = due->id;
    timer.lParam = reinterpret_cast<LPARAM>(due->proc);
    timer.time = static_cast<DWORD>(now);
    if (!Matches(timer, hwnd, filterMin, filterMax)) return FALSE;
    if (msg) *msg = timer;
    if (removeFlags & PM_REMOVE) due->due = now + std::max<UINT>(due->elapse, 1);
    return TRUE;
}

LRESULT DispatchMessage(const MSG* msg) {
    if (!msg) return 0;
    if (msg->message == WM_TIMER && msg->lParam) {
        auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
        if (IsWindow(msg->hwnd) || !msg->hwnd) proc(msg->hwnd, WM_TIMER, msg->wParam, msg->time);
        return 0;
    }
    return SendMessage(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
    if (hwnd && !IsWindow(hwnd)) return 0;
    Queue& queue = TheQueue();
    if (!hwnd) {
        // A timer without a window gets an id of its own.
        id = 1;
        for (const Timer& t : queue.timers) id = std::max(id, t.id + 1);
    }
    const UINT period = std::max<UINT>(elapse, 10);  // the platform's shortest period
    for (Timer& t : queue.timers) {
        if (t.hwnd == hwnd && t.id == id) {
            t.elapse = period;
            t.due = Now() + period;
            t.proc = proc;
            return id ? id : 1;
        }
    }
    queue.timers.push_back({hwnd, id, period, Now() + period, proc});
    return id ? id : 1;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
    auto& timers = TheQueue().timers;
    const auto before = timers.size();
    std::erase_if(timers, [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    return timers.size() != before ? TRUE : FALSE;
}

DWORD GetTickCount() { return static_cast<DWORD>(Now()); }

namespace qx {

bool IsTimerSet(HWND hwnd, UINT_PTR id) {
    const auto& timers = TheQueue().timers;
    return std::any_of(timers.begin(), timers.end(), [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
}

}  // namespace qx

namespace qx::wnd {

void KillTimersOf(HWND hwnd) {
    std::erase_if(TheQueue().timers, [&](const Timer& t) { return t.hwnd == hwnd; });
    std::erase_if(TheQueue().posted, [&](const MSG& m) { return m.hwnd == hwnd; });
}

void AdvanceClock(DWORD milliseconds) { TheQueue().clockOffset += milliseconds; }

}  // namespace qx::wnd

namespace qx {

int PumpMessages() {
    // Bounded, so that a timer of 10 ms on a clock that does not move, or a
    // window that posts itself a message for every one it gets, cannot keep
    // the caller here forever: what is left waits for the next pump.
    constexpr int kMostPerPump = 10000;
    int delivered = 0;
    MSG msg;
    while (delivered < kMostPerPump && PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ++delivered;
        if (msg.message == WM_QUIT) continue;
        if (qx::wnd::PreTranslateForFramework(msg)) continue;
        if (qx::wnd::IsDialogMessageForAny(msg)) continue;
        DispatchMessage(&msg);
    }
    return delivered;
}

}  // namespace qx
