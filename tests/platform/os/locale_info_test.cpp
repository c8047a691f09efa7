#include "qx/platform/os/locale_info.h"

#include <gtest/gtest.h>

#include "tests/support/fixtures.h"

namespace {

TEST(LocaleInfoTest, LanguageIdOfLocale) {
    struct Case {
        const char* locale;
        unsigned short id;
    } cases[] = {
        {"de_DE.UTF-8", 0x0407}, {"de_DE", 0x0407},     {"de", 0x0407},          {"de_XX.UTF-8", 0x0407},
        {"de_AT.UTF-8", 0x0C07}, {"de_CH", 0x0807},     {"en_US.UTF-8", 0x0409}, {"en_GB.UTF-8", 0x0809},
        {"cs_CZ.UTF-8", 0x0405}, {"nl_BE.UTF-8", 0x0813}, {"pt_PT", 0x0816},     {"pt_BR", 0x0416},
        {"nn_NO.UTF-8", 0x0814}, {"sr_RS", 0x281A},     {"sr_RS@latin", 0x241A}, {"sr@latin", 0x081A},
        {"de_DE@euro", 0x0407},  {"de_DE.ISO-8859-15@euro", 0x0407},
        {"C", 0},                {"POSIX", 0},          {"C.UTF-8", 0},          {"", 0},
        {"xx_YY", 0},            {"_DE", 0},            {"DE_de", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale);
        EXPECT_EQ(qx::LanguageIdOfLocale(c.locale), c.id);
    }
}

TEST(LocaleInfoTest, MessagesLocaleFromTheEnvironment) {
    struct Case {
        const char* name;
        std::optional<std::string> lcAll, lcMessages, lang;
        unsigned short id;
    } cases[] = {
        {"LC_ALL first", "fr_FR.UTF-8", "it_IT", "de_DE", 0x040C},
        {"empty LC_ALL is skipped", "", "it_IT", "de_DE", 0x0410},
        {"LANG last", std::nullopt, std::nullopt, "de_AT.UTF-8", 0x0C07},
        {"nothing set", std::nullopt, std::nullopt, std::nullopt, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        qx::test::ScopedEnv lcAll("LC_ALL", c.lcAll);
        qx::test::ScopedEnv lcMessages("LC_MESSAGES", c.lcMessages);
        qx::test::ScopedEnv lang("LANG", c.lang);
        EXPECT_EQ(qx::SystemDefaultLanguageId(), c.id);
    }
}

}  // namespace
