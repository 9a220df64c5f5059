// What the pane shares with the generator's programs: the skins in the order of the pane's list,
// and the settings read exactly as the pane's controls show them.
#include "PaneTestSupport.h"

#include "SkinPalette.h"
#include "SkinSettings.h"

#include <AppKit/AppKit.h>

#include <filesystem>

namespace fs = std::filesystem;

using SharedSkins = PaneTest;

TEST_F(SharedSkins, ThePaletteHoldsThePaneListsSkinsInItsOrder)
{
    installGenerator(userLibrary(), PlistWithBody(""));
    openPane();
    ASSERT_EQ(pane_->comboSkin->numberOfItems(), static_cast<NSInteger>(SkinPalettes().size()));
    for (size_t i = 0; i < SkinPalettes().size(); ++i) {
        EXPECT_EQ(pane_->comboSkin->itemObjectValueAtIndex(static_cast<NSInteger>(i)).utf8(), SkinPalettes()[i].title);
        EXPECT_TRUE(fs::is_regular_file(std::string(std::getenv("ORVELLA_PANE_BUNDLE")) + "/Contents/Resources/" +
                                        SkinPalettes()[i].title + ".png"));
    }
}

TEST(SkinPalette, AListPositionOutsideTheListGivesTheFirstSkin)
{
    EXPECT_STREQ(SkinPaletteAtListIndex(2).title, SkinPalettes()[2].title);
    for (long long outside : {-1LL, static_cast<long long>(SkinPalettes().size()), 1LL << 40})
        EXPECT_STREQ(SkinPaletteAtListIndex(outside).title, SkinPalettes()[0].title) << outside;
    EXPECT_EQ(SkinPaletteTitled("Ocean"), &SkinPalettes()[2]);
    EXPECT_EQ(SkinPaletteTitled("ocean"), nullptr);
}

using SharedSettingsReading = PaneTest;

// Each stored form, read by the shared reader, gives what the pane's controls show.
TEST_F(SharedSettingsReading, ReadsWhatThePaneShows)
{
    struct Case {
        const char* body;
    };
    const Case cases[] = {
        {"<key>Skin Index</key><string>1</string>\n<key>BGColor</key><string>RGB(255,128,0)</string>\n"},
        {"<key>Skin Index</key><integer>0</integer>\n<key>BGColor</key><string>none</string>\n"},
        {"<key>BGColor</key><string>RGB(1,2,3,4)</string>\n"},
        {"<key>Skin Index</key><string>-2</string>\n<key>BGColor</key><string>x</string>\n"},
        {""},
    };
    for (const Case& c : cases) {
        installGenerator(userLibrary(), PlistWithBody(c.body));
        std::optional<SkinSettings> read = ReadInstalledSkinSettings();
        ASSERT_TRUE(read) << c.body;
        openPane();
        const NSInteger shown = pane_->comboSkin->indexOfSelectedItem();
        EXPECT_EQ(&SkinPaletteAtListIndex(read->skinListIndex), &SkinPalettes()[static_cast<size_t>(shown)]) << c.body;
        EXPECT_EQ(!read->background, pane_->radioButton->selectedRow() == 0) << c.body;
        if (read->background) {
            const NSColor color = pane_->myColor->color();
            EXPECT_FLOAT_EQ(read->background->red, color.redComponent()) << c.body;
            EXPECT_FLOAT_EQ(read->background->green, color.greenComponent()) << c.body;
            EXPECT_FLOAT_EQ(read->background->blue, color.blueComponent()) << c.body;
        }
        nextCase();
    }
}

TEST_F(SharedSettingsReading, TheUsersBundleFirstThenTheSystemsThenNone)
{
    SKIP_UNLESS_LIBRARY_IS_PRIVATE();
    EXPECT_FALSE(ReadInstalledSkinSettings()) << "no generator bundle installed";
    installGenerator("/Library", PlistWithBody("<key>Skin Index</key><string>2</string>\n"));
    ASSERT_TRUE(ReadInstalledSkinSettings());
    EXPECT_EQ(ReadInstalledSkinSettings()->skinListIndex, 3);
    installGenerator(userLibrary(), PlistWithBody("<key>Skin Index</key><string>0</string>\n"));
    EXPECT_EQ(ReadInstalledSkinSettings()->skinListIndex, 1);
    fs::remove_all(userLibrary());
    fs::remove_all("/Library");
    EXPECT_FALSE(ReadInstalledSkinSettings()) << "a bundle found earlier no longer counts once it is gone";
}
