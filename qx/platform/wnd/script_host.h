// The scripted UI host: modal windows are answered by actions read from a
// script, and everything shown is kept as a transcript of JSON lines (and
// written to a file when one is named). Tests install it directly; under
// QX_UI=script it reads the file named by QX_UI_SCRIPT and writes the
// transcript to QX_UI_TRANSCRIPT. docs/ui-hosts.md gives both formats.
//
// Actions, one per line ("#" starts a comment line):
//   press LABEL-OR-ID   type TEXT   key NAME [down|up] [after MS]
//   check on|off        select TEXT click X Y   close   wait MS
// When the actions run out while a modal window waits, it is answered with
// its default button, as a program without a user would.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "qx/platform/base/export.h"
#include "qx/platform/wnd/snapshot_host.h"

namespace qx {

class QX_API ScriptHost : public SnapshotHost {
public:
    ScriptHost();
    ~ScriptHost() override;
    const char* Name() const override { return "script"; }

    // Appends the actions of *script* (UTF-8). A malformed line adds nothing
    // and gives false with *why* naming the line ("line 3: ...").
    bool Load(std::string_view script, std::string* why = nullptr);
    // Also appends every transcript line to the file at *path* (a native
    // path); false when it cannot be opened.
    bool WriteTranscriptTo(const std::string& path);
    // The transcript so far, one JSON object a line.
    const std::vector<std::string>& Transcript() const;
    // Actions not yet carried out.
    size_t PendingActions() const;

    // The JSON description of a window and its children, as the transcript
    // writes it.
    static std::string Describe(HWND topLevel);

protected:
    void Snapshot(HWND topLevel) override;
    void Answer(HWND dialog) override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace qx
