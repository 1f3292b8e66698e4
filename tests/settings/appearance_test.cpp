#include <gtest/gtest.h>

#include "engine/temp_folder.h"
#include "settings/appearance.h"

namespace kestrin {
namespace {

TEST(Appearance, SavingDefaultsWritesNamesOrBgrNumbers) {
    testing::TempFolder folder;
    const auto path = AppearancePath(folder.Path());
    ASSERT_EQ(SaveAppearance(path, DefaultAppearance()), "");
    const std::string text = testing::ReadBytes(path);
    for (const char* line : {"[Colors]", "ShipBgd=$00321414", "AttBgd=$00141446", "DefBgd=$00143214",
                             "Gridlines=clBlack", "Racelines=$005A5A5A", "DefHeldFont=$00FF9696",
                             "AttLeftFont=$006464FF"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
    EXPECT_EQ(LoadAppearance(path), DefaultAppearance());
}

TEST(Appearance, ColourValuesReadInEveryAcceptedForm) {
    struct Case { const char* text; std::optional<Rgb> rgb; };
    const Case cases[] = {
        {"clWhite", Rgb{255, 255, 255}},  {"CLWHITE", Rgb{255, 255, 255}}, {"clSkyBlue", Rgb{166, 202, 240}},
        {"$00321414", Rgb{20, 20, 50}},   {"$ff", Rgb{255, 0, 0}},         {"65280", Rgb{0, 255, 0}},
        {"$80000005", std::nullopt},      {"clBtnFace", std::nullopt},     {"", std::nullopt},
        {"$", std::nullopt},              {"12abc", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseColourValue(c.text), c.rgb) << c.text;
    EXPECT_EQ(FormatColourValue({0, 0, 0}), "clBlack");
    EXPECT_EQ(FormatColourValue({1, 2, 3}), "$00030201");
}

TEST(Appearance, MissingOrUnreadableKeysTakeTheirDefaultsAndOtherContentSurvivesASave) {
    testing::TempFolder folder;
    const auto path = AppearancePath(folder.Path());
    testing::WriteBytes(path, "[Window]\r\nLeft=10\r\n[colors]\r\nshipbgd=clRed\r\nAttBgd=rubbish\r\n");
    Appearance a = LoadAppearance(path);
    EXPECT_EQ(a[AppearanceColour::ShipBgd], (Rgb{255, 0, 0}));
    EXPECT_EQ(a[AppearanceColour::AttBgd], DefaultAppearance()[AppearanceColour::AttBgd]);
    a[AppearanceColour::DefFont] = {1, 2, 3};
    ASSERT_EQ(SaveAppearance(path, a), "");
    EXPECT_NE(testing::ReadBytes(path).find("Left=10"), std::string::npos);
    EXPECT_EQ(LoadAppearance(path), a);
    EXPECT_EQ(LoadAppearance(folder.Path() / "missing.ini"), DefaultAppearance());
}

// Found by fuzzing: a file that starts with two byte order marks. Saving must not drop the
// first, or the second would make the line after it a [Colors] header of its own.
TEST(Appearance, SavedColoursReadBackWhateverMarksTheFileStartsWith) {
    testing::TempFolder folder;
    const auto path = AppearancePath(folder.Path());
    testing::WriteBytes(path, "\xEF\xBB\xBF\xEF\xBB\xBF[Colors]\nAttBgd=clRed\n");
    Appearance colours = DefaultAppearance();
    colours[AppearanceColour::AttBgd] = {0, 0, 255};
    ASSERT_EQ(SaveAppearance(path, colours), "");
    EXPECT_EQ(LoadAppearance(path), colours);
}

TEST(Appearance, SaveIntoAFolderThatCannotExistReportsAnError) {
    testing::TempFolder folder;
    testing::WriteBytes(folder.Path() / "file", "");
    EXPECT_NE(SaveAppearance(folder.Path() / "file" / "Kestrin.ini", DefaultAppearance()), "");
}

}  // namespace
}  // namespace kestrin
