#include "qx/text/find_files.h"

#include "qx/text/internal/folder_search.h"

int CFindFiles::GetNext(CString& name) {
    using qx::detail::EntryKind;
    const EntryKind kind = m_files ? EntryKind::kFile : EntryKind::kFolder;
    if (!m_search) {
        m_search = qx::detail::StartSearchOfKind(m_folder, m_pattern, kind, name);
        return m_search ? 1 : 0;
    }
    if (qx::detail::NextOfKind(*m_search, kind, name)) return 1;
    m_search.reset();
    return 0;
}
