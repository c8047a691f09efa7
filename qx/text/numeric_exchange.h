// Dialog data exchange for numeric fields: formulas (CNumString) in edits
// and combo boxes, and plain numbers typed with a decimal comma. Saving
// reads the control into the variable and fails the exchange on bad input,
// loading shows the variable in the control (see data_exchange.h).
//
// A formula that does not evaluate has already told the user why (through
// the CNumString's ErrorPrint) when the exchange fails; an empty formula is
// accepted. With replaceByResult set, a formula that evaluates is replaced
// by its result, in the control too.
#pragma once

#include "qx/platform/base/export.h"
#include "qx/platform/wnd/data_exchange.h"
#include "qx/text/num_string.h"

// An edit holding a formula whose result is taken as a whole number (the
// result replaces it as "%.0f"). The text is read without its leading
// white space; both directions end with the text in the control.
QX_API void DDX_NumiString(CDataExchange* exchange, int id, CNumString& value);
// The same for a combo box. Loading selects the first entry that begins with
// the text (none for an empty text) and shows the text.
QX_API void DDX_CBNumiString(CDataExchange* exchange, int id, CNumString& value);
// As DDX_CBNumiString for a real number: the result replaces the formula in
// the CNumString's format ("%.02f" when it has none).
QX_API void DDX_CBNumfString(CDataExchange* exchange, int id, CNumString& value);

// An edit holding one plain number, "3,25" as good as "3.25": saving turns
// the first comma into a point (in the control too, keeping the selection)
// and accepts the number with spaces or tabs around it and nothing else;
// otherwise the framework's message for a number is shown and the exchange
// fails. A float also refuses a number beyond its range. Loading shows six
// significant digits ("%.6g").
QX_API void DDX_BFText(CDataExchange* exchange, int id, double& value);
QX_API void DDX_BFText(CDataExchange* exchange, int id, float& value);

// The framework's exchange of a double (DDX_Text) after every comma of the
// edit's text became a point (in the control too, keeping the selection);
// an empty edit saves 0.
QX_API void DDX_TextEx(CDataExchange* exchange, int id, double& value);
