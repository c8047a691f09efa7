// The text parts list: a list of articles written as a plain text file in
// pages of fixed line counts, laid out by a text template, so that the
// result stands in columns when printed in a fixed-pitch font.
//
// The template is read line by line. Outside blocks, leading white space is
// dropped, empty lines and lines beginning with "//" are skipped, and a line
// beginning with "#" opens a block named by the word after the "#" (in any
// case): TOP1 (the header of page 1), TOPN (the header of the following
// pages), BOTTOM (the footer of every page), OUTPUT (the line of one
// article) or VAR (the line counts). A line beginning with "#END" (any case)
// ends a block, and so does the end of the file; "//" lines are skipped.
//
//   TOP1, TOPN, BOTTOM  lines taken as they stand; "%" alone makes an empty
//                       line. Fields: $DATE_TD (today, dd.mm.yyyy),
//                       $PROJ_NR, $PROJ_NA, $PROJ_DA (the project; empty
//                       without one), $PAGE_NR (filled each time the block
//                       is written: in a footer its page's number, in a
//                       TOPN header the number of the page before).
//   OUTPUT              the first line not beginning with "%" (a later one
//                       replaces it); every later "%" line adds an empty
//                       line after each article. Fields: $POS, $NUM (the
//                       quantity, "%.2f"), $UNT, $TXT (the next line of the
//                       text), $ART, $PRC ("%.2f"), $CURR; a value that is
//                       none (a negative number, an empty text) is a space.
//   VAR                 "&NAME value": LINES_PG (lines a page), LINES_T1,
//                       LINES_TN (the header lines of page 1 and of the
//                       others), LINES_BO (the footer lines). Counts outside
//                       10-100, 2-30, 2-30 and 1-20 are asked about (Yes/No);
//                       No stops.
//
// A field "$NAME" takes its width from the line: up to and including a "|"
// that follows it before any further "$", right-aligned; else up to just
// before the character ahead of the next "$" (which stays), left-aligned;
// else the value replaces the rest of the line. A value longer than its
// field stops the export with result 0 and no message.
//
// Writing: articles fill the lines a page has left after its header and
// footer. An article that fills or overruns the lines left is cut at the
// page end and goes on with its next text lines on the next page
// (continuation lines hold only the text field, at its column); with fewer
// than 3 lines left it is not begun there, and those lines stay empty. Each page ends with the
// footer, each following page begins with its header, as long as there is
// something left to write. The last page is not padded.
//
// Decided where the family's rules were open or at fault:
// - The closing footer after the last article is written when the current
//   page has article lines on it, that is when the lines left differ from
//   the capacity of that page. The family compared with the capacity of
//   the following pages, which on page 1 is not its own (the two headers may
//   differ in size): a page 1 could get a footer with no articles above it,
//   or none below a few. So an empty list gives the page-1 header alone.
// - The header of the next page is written whenever anything is left to
//   write, also the rest of the last article cut at a page end.
// - The template is read in the encoding its byte-order mark names (UTF-8,
//   UTF-16 of either order), without one in the system's 8-bit code page;
//   the list is written in the template's encoding with the same mark, and
//   with the template's line ends (CR LF when its first line ends so, else
//   LF). Characters the code page lacks become "?".
// - The output is complete when CreateStList returns 1: it goes to a
//   temporary file that replaces the output file only then. A failed export
//   leaves an existing output file as it was; a file that cannot be
//   written is reported.
// - Templates whose following pages leave fewer than 3 lines for articles,
//   and templates without a VAR block, are refused with a message (the
//   family's paging never ended on them).
// - The caller's list and articles are left as they were (the export keeps
//   its own line cursor and drops the outer line feeds of a text only in
//   what it writes), so a list can be written again. Values are never
//   searched for fields.
// - Templates larger than 64 MiB are refused as unreadable.
#pragma once

#include "qx/export/st_list.h"
#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"

class QX_API CTextStListExport {
public:
    CTextStListExport();
    ~CTextStListExport();
    CTextStListExport(const CTextStListExport&) = delete;
    CTextStListExport& operator=(const CTextStListExport&) = delete;

    // Writes *list* into *outputFile* as *templateFile* lays it out: 1 when
    // the whole list was written, else 0. Messages (translated, stop icon)
    // for a template or output file that cannot be opened and for each
    // template fault, with its line number; the questions of the VAR block
    // are Yes/No boxes with the question icon. *project* may be null.
    int CreateStList(CStList& list, const CString& outputFile, const CString& templateFile, CProjectInfo* project);
};
