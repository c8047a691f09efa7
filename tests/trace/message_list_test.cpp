#include "qx/platform/wnd/message_list.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "qx/platform/base/format.h"
#include "qx/platform/wnd/window_constants.h"
#include "qx/trace/message_tracer.h"
#include "tests/trace/tracer_fixture.h"

namespace qx {
namespace {

struct ListedMessage {
    std::wstring name;
    unsigned value;
};

std::vector<ListedMessage> Listed() {
#define QX_LISTED(name, value) {L"" #name, value},
    return {QX_WINDOW_MESSAGES(QX_LISTED)};
#undef QX_LISTED
}

TEST(MessageListTest, NamesEachPublishedMessageOnceInAscendingOrder) {
    const std::vector<ListedMessage> listed = Listed();
    ASSERT_EQ(listed.size(), 408u);
    EXPECT_EQ(listed.front().name, L"WM_NULL");
    EXPECT_EQ(listed.front().value, 0x0000u);
    EXPECT_EQ(listed.back().name, L"WM_APP");
    EXPECT_EQ(listed.back().value, 0x8000u);
    std::set<std::wstring> names;
    for (std::size_t i = 0; i < listed.size(); ++i) {
        SCOPED_TRACE(listed[i].name);
        EXPECT_TRUE(names.insert(listed[i].name).second) << "named twice";
        if (i > 0) {
            EXPECT_LT(listed[i - 1].value, listed[i].value);
        }
    }
}

TEST(MessageListTest, HoldsThePublishedValues) {
    struct Sample {
        const wchar_t* name;
        unsigned value;
    };
    const Sample samples[] = {
        {L"WM_SETTEXT", 0x000C},        {L"WM_NOTIFY", 0x004E},         {L"WM_NCXBUTTONDBLCLK", 0x00AD},
        {L"EM_SETREADONLY", 0x00CF},    {L"EM_GETIMESTATUS", 0x00D9},   {L"SBM_GETSCROLLBARINFO", 0x00EB},
        {L"WM_INITDIALOG", 0x0110},     {L"WM_CTLCOLORSTATIC", 0x0138}, {L"CB_SETCURSEL", 0x014E},
        {L"CB_GETCOMBOBOXINFO", 0x0164}, {L"LB_GETTEXT", 0x0189},       {L"LB_GETLISTBOXINFO", 0x01B2},
        {L"WM_MOUSEWHEEL", 0x020A},     {L"WM_MOUSEHWHEEL", 0x020E},    {L"WM_DPICHANGED", 0x02E0},
        {L"WM_QUERYAFXWNDPROC", 0x0360}, {L"WM_KICKIDLE", 0x036A},      {L"WM_ACTIVATETOPLEVEL", 0x036E},
        {L"WM_USER", 0x0400},           {L"LVM_GETITEMCOUNT", 0x1004},  {L"LVM_SETITEMTEXTW", 0x1074},
        {L"LVM_GETVIEW", 0x108F},
    };
    const std::vector<ListedMessage> listed = Listed();
    for (const Sample& sample : samples) {
        SCOPED_TRACE(sample.name);
        std::vector<unsigned> values;
        for (const ListedMessage& message : listed)
            if (message.name == sample.name) values.push_back(message.value);
        EXPECT_EQ(values, std::vector<unsigned>{sample.value});
    }
    // The constants are the list's.
    EXPECT_EQ(WM_KICKIDLE, 0x036Au);
    EXPECT_EQ(LVM_GETITEM, LVM_GETITEMW);
    EXPECT_EQ(VK_LAUNCH_APP2, 0xB7u);
    EXPECT_EQ(VK_KANJI, VK_HANJA);
    EXPECT_EQ(HTERROR, -2);
    EXPECT_EQ(HTHELP, 21);
}

using MessageTableTest = test::TracerTest;

// The tracer names every listed message by its list name, and its index
// finds each one: silencing all of them silences every line.
TEST_F(MessageTableTest, TheTracerNamesAndSilencesEveryListedMessage) {
    const std::vector<ListedMessage> listed = Listed();
    unsigned line = 0;
    for (const ListedMessage& message : listed) {
        SCOPED_TRACE(message.name);
        const std::wstring expected = Format(L"%03u: %s, ", line++, message.name.c_str());
        EXPECT_EQ(Trace(message.value).substr(0, expected.size()), expected);
    }
    for (const ListedMessage& message : listed)
        if (message.value != 0) DontTraceMessages(message.value, 0u);
    for (const ListedMessage& message : listed) {
        SCOPED_TRACE(message.name);
        EXPECT_EQ(Trace(message.value), message.value == 0 ? L"408: WM_NULL, 0x0, 0x0\n" : L"");
    }
}

}  // namespace
}  // namespace qx
