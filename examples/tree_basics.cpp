// Builds a small configuration tree in memory, reads typed values back by
// node path and prints the document's text form.
#include <cstdio>
#include <string>

#include <qx/qxbase.h>

namespace {

void Print(const CString& text) { std::fputs(qx::WideToUtf8(text.str()).c_str(), stdout); }

}  // namespace

int main() {
    CNode root(L"Configuration");
    root.AddLeaf(L"Version", 3);
    root.AddLeaf(L"Factor", 2.5);

    // A leaf holding a list of values; the colon inside a value is escaped.
    CLeaf* colours = root.AddLeaf(L"Colours", L"", false);
    colours->SetFirstValue(L"red");
    colours->SetNextValue(L"green");
    colours->SetLastValue(L"blue:dark");

    root.SetStrLeafValue(L"Pipes\\Steel\\", L"Diameters", 1, L"15");
    root.SetDblLeafValue(L"Pipes\\Steel\\", L"Diameters", 3, 22.5, L"%.2f");
    root.SetIntLeafValue(L"Pipes\\Copper\\", L"Count", 1, 12);

    CString text;
    root.WriteToString(text);
    Print(L"Text form:\n");
    Print(text);

    Print(L"\nValues read back:\n");
    CString line;
    line.Format(L"  Colours, third value:        %s\n", root.GetStrLeafValue(nullptr, L"Colours", 3).GetString());
    Print(line);
    line.Format(L"  Pipes\\Steel\\ Diameters [2]:  '%s' (empty, filled in)\n",
                root.GetStrLeafValue(L"Pipes\\Steel\\", L"Diameters", 2).GetString());
    Print(line);
    line.Format(L"  Pipes\\Steel\\ Diameters [3]:  %g\n", root.GetDblLeafValue(L"Pipes\\Steel\\", L"Diameters", 3));
    Print(line);
    line.Format(L"  Pipes\\Copper\\ Count:         %d\n", root.GetIntLeafValue(L"Pipes\\Copper\\", L"Count"));
    Print(line);
    line.Format(L"  Missing value with default:  %d\n", root.GetIntLeafValue(L"Pipes\\Iron\\", L"Count", 1, L':', -1));
    Print(line);
    return 0;
}
