#include "help/help_versions.h"

#include <gtest/gtest.h>

TEST(VersionText, TheThirdPartDecidesTheForm) {
    const struct {
        FileVersion version;
        const char* text;
    } cases[] = {
        {{4, 74, 8702, 0}, "4.74.8702.00"},
        {{5, 0, 2919, 6307}, "5.00.2919.6307"},
        {{4, 72, 0, 3110}, "4.72.3110"},
        {{4, 72, 0, 7}, "4.72.0007"},
        {{6, 4, 2, 0}, "6.04.02.00"},
        {{65535, 65535, 65535, 65535}, "65535.65535.65535.65535"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(VersionText(c.version), c.text);
}

TEST(ReleaseNames, MatchWholeTextsLetterCaseAside) {
    EXPECT_EQ(HelpEngineReleaseName("4.74.8702.00"), "1.3");
    EXPECT_EQ(HelpEngineReleaseName("4.72.7290.00"), "1.0");
    EXPECT_EQ(HelpEngineReleaseName("4.74.8702"), "unknown");
    EXPECT_EQ(HelpEngineReleaseName(""), "unknown");
    EXPECT_EQ(BrowserEngineReleaseName("4.70.1300.0000"), "3.02");
    EXPECT_EQ(BrowserEngineReleaseName("4.70.1215.0000"), "3.02");
    EXPECT_EQ(BrowserEngineReleaseName("5.00.2919.6307"), "5.01");
    EXPECT_EQ(BrowserEngineReleaseName("5.50.3825.1300"), "5.5 Platform Preview");
    EXPECT_EQ(BrowserEngineReleaseName("6.04.02.00"), "unknown");
}

TEST(MinimumVersions, OnlyTheTabledCodesHaveOne) {
    EXPECT_EQ(MinimumHelpEngineVersion(16), "4.72.7290");
    EXPECT_EQ(MinimumHelpEngineVersion(19), "4.72.8164.0");
    EXPECT_EQ(MinimumHelpEngineVersion(26), "4.74.8702");
    EXPECT_EQ(MinimumHelpEngineVersion(15), std::nullopt);
    EXPECT_EQ(MinimumHelpEngineVersion(27), std::nullopt);
    EXPECT_EQ(MinimumBrowserEngineVersion(256), "4.70.1155");
    EXPECT_EQ(MinimumBrowserEngineVersion(270), "5.0.2717.2000");
    EXPECT_EQ(MinimumBrowserEngineVersion(273), "5.00.2919.3800");
    EXPECT_EQ(MinimumBrowserEngineVersion(274), std::nullopt);
    EXPECT_EQ(MinimumBrowserEngineVersion(26), std::nullopt);
}

TEST(VersionAtLeast, ComparesPartsAsNumbers) {
    const struct {
        const char* version;
        const char* minimum;
        bool atLeast;
    } cases[] = {
        {"4.74.8702.00", "4.72.7290", true},
        {"4.74.8702.00", "4.74.8702", true},
        {"4.72.7290.00", "4.72.8164.0", false},
        {"10.00.9200.16384", "5.00.2919.6307", true},
        {"10.00.9200.16384", "4.70.1155", true},
        {"5.00.2919.800", "5.00.2919.3800", false},
        {"5.0.2717.2000", "5.00.2717.2000", true},
        {"4.72.3110.03", "4.72.3110.3", true},
        {"4.9", "4.10", false},
        {"", "4.70.1155", false},
        {"unknown", "4.70.1155", false},
        {"4..1", "4.0", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(VersionAtLeast(c.version, c.minimum), c.atLeast)
            << c.version << " >= " << c.minimum;
}
