// The progress bar: a position in a 32-bit range, moved by steps.
#include <algorithm>

#include "qx/platform/wnd/common_controls.h"
#include "qx/platform/wnd/internal/classic_look.h"
#include "qx/platform/wnd/internal/controls.h"
#include "qx/platform/wnd/window.h"

namespace qx::wnd {
namespace {

struct ProgressState : ControlState {
    int low = 0;
    int high = 100;
    int position = 0;
    int step = 10;
};

LRESULT SetPosition(HWND hwnd, ProgressState& state, long long position) {
    const int previous = state.position;
    state.position = static_cast<int>(std::clamp<long long>(position, state.low, std::max(state.low, state.high)));
    if (state.position != previous) {
        InvalidateRect(hwnd, nullptr, TRUE);
        NotifyChanged(hwnd);
    }
    return previous;
}

LRESULT SetRange(HWND hwnd, ProgressState& state, int low, int high) {
    const LRESULT previous = static_cast<LRESULT>(MAKELONG(static_cast<unsigned>(state.low), static_cast<unsigned>(state.high)));
    state.low = low;
    state.high = high;
    SetPosition(hwnd, state, state.position);
    NotifyChanged(hwnd);
    return previous;
}

}  // namespace

LRESULT ProgressProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = Find(hwnd);
    if (!w) return 0;
    auto& state = StateOf<ProgressState>(*w);
    switch (message) {
        case PBM_SETRANGE:
            return SetRange(hwnd, state, LOWORD(static_cast<std::uintptr_t>(lParam)), HIWORD(static_cast<std::uintptr_t>(lParam)));
        case PBM_SETRANGE32: return SetRange(hwnd, state, static_cast<int>(wParam), static_cast<int>(lParam));
        case PBM_GETRANGE:
            if (auto* range = reinterpret_cast<PBRANGE*>(lParam)) *range = {state.low, state.high};
            return wParam ? state.low : state.high;
        case PBM_SETPOS: return SetPosition(hwnd, state, static_cast<int>(wParam));
        case PBM_DELTAPOS: return SetPosition(hwnd, state, static_cast<long long>(state.position) + static_cast<int>(wParam));
        case PBM_SETSTEP: {
            const int previous = state.step;
            state.step = static_cast<int>(wParam);
            return previous;
        }
        case PBM_STEPIT: {
            // Past the end the bar starts over from the beginning.
            long long next = static_cast<long long>(state.position) + state.step;
            const long long span = static_cast<long long>(state.high) - state.low;
            if (span > 0 && next > state.high) next = state.low + (next - state.high) % span;
            if (span > 0 && next < state.low) next = state.high - (state.low - next) % span;
            return SetPosition(hwnd, state, next);
        }
        case PBM_GETPOS: return state.position;
        case WM_PAINT: return PaintControl(hwnd, PaintProgress);
        default: return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

}  // namespace qx::wnd
