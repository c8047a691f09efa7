// Helpers of the spreadsheet tests: running openpyxl (the independent
// reader and writer the files are checked against) and looking into
// packages.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "qx/platform/base/utf.h"
#include "qx/platform/os/native_path.h"
#include "qx/platform/os/run_program.h"
#include "qx/platform/os/zip_store.h"
#include "tests/support/test_support.h"

// Set by the build for the spreadsheet suite; other suites that use the
// package helpers have no openpyxl.
#ifndef QX_OPENPYXL_PYTHON
#define QX_OPENPYXL_PYTHON ""
#endif

namespace qx::test {

inline bool HaveOpenpyxl() { return QX_OPENPYXL_PYTHON[0] != '\0'; }

#define QX_SKIP_WITHOUT_OPENPYXL()                                                             \
    do {                                                                                       \
        if (!::qx::test::HaveOpenpyxl())                                                       \
            GTEST_SKIP() << "no python3 with openpyxl (Debian: python3-openpyxl) was found"; \
    } while (0)

// Runs the Python *script* (openpyxl imported as openpyxl, sys as sys) with
// *args* as sys.argv[1:] and gives what it printed; a script that fails
// fails the test.
inline std::string Python(const std::string& script, const std::vector<std::string>& args = {}) {
    std::vector<std::wstring> arguments{L"-W", L"ignore", L"-c", Utf8ToWide("import openpyxl, sys\n" + script)};
    for (const std::string& arg : args) arguments.push_back(Utf8ToWide(arg));
    const ProgramRun run = RunProgram(FromNativePath(QX_OPENPYXL_PYTHON), arguments, {}, std::chrono::seconds(120));
    EXPECT_TRUE(run.started && run.exitCode == 0) << "the script failed:\n" << run.output;
    return run.output;
}

// The members of the zip file *file* by name.
inline std::map<std::string, std::string> ZipParts(const std::filesystem::path& file) {
    std::map<std::string, std::string> parts;
    const auto members = ReadZipMembers(ReadBytes(file));
    EXPECT_TRUE(members.has_value()) << file;
    if (members) {
        for (const ZipMember& m : *members) parts[m.name] = m.data;
    }
    return parts;
}

// A small package written by hand, for cases no other writer makes: one
// sheet "Blatt1" with the given *sheetData* content, a shared string table
// of *sharedStrings* (each an <si> element's content), and styles with a
// second cell format (bold red font, yellow fill, thin borders, "0.000").
// *replace* gives parts by name that replace or add to these ("" removes one).
inline std::vector<ZipMember> HandMadePackage(const std::string& sheetData, const std::vector<std::string>& sharedStrings = {},
                                              const std::map<std::string, std::string>& replace = {}) {
    const std::string main = "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"";
    const std::string rels = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    std::string sst = "<sst " + main + " count=\"" + std::to_string(sharedStrings.size()) + "\">";
    for (const std::string& si : sharedStrings) sst += "<si>" + si + "</si>";
    sst += "</sst>";
    std::map<std::string, std::string> parts = {
        {"[Content_Types].xml",
         "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
         "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
         "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
         "<Override PartName=\"/xl/workbook.xml\" "
         "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
         "<Override PartName=\"/xl/worksheets/sheet1.xml\" "
         "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>"
         "<Override PartName=\"/xl/styles.xml\" "
         "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>"
         "<Override PartName=\"/xl/sharedStrings.xml\" "
         "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml\"/>"
         "</Types>"},
        {"_rels/.rels",
         "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"rId1\" Type=\"" + rels + "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"},
        {"xl/workbook.xml",
         "<workbook " + main + " xmlns:r=\"" + rels + "\"><sheets><sheet name=\"Blatt1\" sheetId=\"1\" r:id=\"rId1\"/>"
         "</sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"rId1\" Type=\"" + rels + "/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
         "<Relationship Id=\"rId2\" Type=\"" + rels + "/styles\" Target=\"styles.xml\"/>"
         "<Relationship Id=\"rId3\" Type=\"" + rels + "/sharedStrings\" Target=\"sharedStrings.xml\"/>"
         "</Relationships>"},
        {"xl/worksheets/sheet1.xml", "<worksheet " + main + "><sheetData>" + sheetData + "</sheetData></worksheet>"},
        {"xl/styles.xml",
         "<styleSheet " + main + "><numFmts count=\"1\"><numFmt numFmtId=\"164\" formatCode=\"0.000\"/></numFmts>"
         "<fonts count=\"2\"><font><sz val=\"11\"/><name val=\"Calibri\"/><family val=\"2\"/></font>"
         "<font><b/><sz val=\"12\"/><color rgb=\"FFFF0000\"/><name val=\"Arial\"/></font></fonts>"
         "<fills count=\"3\"><fill><patternFill patternType=\"none\"/></fill><fill><patternFill patternType=\"gray125\"/></fill>"
         "<fill><patternFill patternType=\"solid\"><fgColor rgb=\"FFFFFF00\"/></patternFill></fill></fills>"
         "<borders count=\"2\"><border><left/><right/><top/><bottom/><diagonal/></border>"
         "<border><left style=\"thin\"/><right style=\"thin\"/><top style=\"thin\"/><bottom style=\"thin\"/><diagonal/></border>"
         "</borders><cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>"
         "<cellXfs count=\"2\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
         "<xf numFmtId=\"164\" fontId=\"1\" fillId=\"2\" borderId=\"1\" xfId=\"0\" applyFont=\"1\" applyFill=\"1\" "
         "applyBorder=\"1\" applyNumberFormat=\"1\"/></cellXfs></styleSheet>"},
        {"xl/sharedStrings.xml", sst},
    };
    for (const auto& [name, bytes] : replace) {
        if (bytes.empty()) parts.erase(name);
        else parts[name] = bytes;
    }
    std::vector<ZipMember> members;
    for (auto& [name, bytes] : parts) members.push_back(ZipMember{name, bytes});
    return members;
}

}  // namespace qx::test
