// Where a printer context's pages go: a PDF file, a job on a printer queue,
// or the job of the desktop's print dialog, which hands over a surface of
// its own. The context draws every page on the target's surface and ends
// each with cairo_show_page; the target owns what happens to the surface.
#pragma once

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"

typedef struct _cairo_surface cairo_surface_t;

namespace qx::gfx {

class QX_API PrintTarget {
public:
    virtual ~PrintTarget();
    // The surface for a job of pages *widthPoints* x *heightPoints* (the
    // paper as printed, orientation applied); null with ErrorMessage when
    // the job cannot begin. The target keeps the surface.
    virtual cairo_surface_t* Begin(const CString& title, double widthPoints, double heightPoints) = 0;
    // Finishes the surface and delivers the job; *pages* is how many were
    // drawn (a job without pages delivers nothing). False with ErrorMessage
    // when the job did not arrive complete.
    virtual bool Deliver(int pages) = 0;
    // Drops the job: nothing is printed or written.
    virtual void Abort() = 0;
    virtual CString ErrorMessage() const = 0;
};

}  // namespace qx::gfx
