// The library's own dialogs by their resource ids: the progress window and
// the value dialog. Their templates are built in; a language module may
// bring its own under the same ids (with the same control ids).
#pragma once

namespace qx {

inline constexpr unsigned kWaitMessageDialog = 2000;
inline constexpr unsigned kValueDialog = 2001;

}  // namespace qx
