// The control table and the bitmap table agree with each other and with the
// layout the game relies on.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <vector>

#include "ui/Bitmaps.h"
#include "ui/Controls.h"

namespace {

using ui::ControlKind;
using ui::controlTable;
using ui::findBitmap;
using ui::findControl;
using platform::Window;

TEST(ControlTableTest, HoldsEighteenButtonsTwentySixTilesThirtyStaticsAndThreeEdits) {
    std::map<ControlKind, int> kinds;
    for (const auto& c : controlTable) kinds[c.kind]++;
    EXPECT_EQ(kinds[ControlKind::OwnerDrawButton], 18);
    EXPECT_EQ(kinds[ControlKind::Edit], 3);
    const int statics = kinds[ControlKind::Picture] + kinds[ControlKind::TextNoPrefix] +
                        kinds[ControlKind::TextPrefix] + kinds[ControlKind::TextCentered];
    EXPECT_EQ(statics, 26 + 30);
}

TEST(ControlTableTest, IdentifiersAndNamesAreUnique) {
    std::set<int> ids;
    std::set<std::string> names;
    for (const auto& c : controlTable) {
        EXPECT_TRUE(ids.insert(c.id).second) << c.id;
        EXPECT_TRUE(names.insert(c.name).second) << c.name;
    }
}

TEST(ControlTableTest, CreationOrderStartsWithTheButtonsAndEndsWithTheEdits) {
    EXPECT_EQ(controlTable.front().id, ui::id::PlayerOneButton);
    EXPECT_EQ(controlTable[17].id, ui::id::CloseAddButton);
    EXPECT_EQ(controlTable[18].id, ui::id::LetterTile(0));
    EXPECT_EQ(controlTable[43].id, ui::id::LetterTile(25));
    EXPECT_EQ(controlTable[62].id, ui::id::HintDisplay);
    EXPECT_EQ(controlTable[66].id, ui::id::GuessLimitDisplay);
    EXPECT_EQ(controlTable[73].id, ui::id::AltGallowsStage1);
    EXPECT_EQ(controlTable[74].id, ui::id::GuessEdit);
    EXPECT_EQ(controlTable[75].id, ui::id::PhraseEdit);
    EXPECT_EQ(controlTable[76].id, ui::id::HintEdit);
}

TEST(ControlTableTest, TilesFollowTheLetterFormulaInTwoRows) {
    for (int k = 0; k < 26; ++k) {
        const auto* c = findControl(ui::id::LetterTile(k));
        ASSERT_NE(c, nullptr) << k;
        EXPECT_EQ(c->kind, ControlKind::Picture);
        EXPECT_EQ(c->bitmap, ui::letterTileBitmap(k));
        EXPECT_EQ(c->top, k < 13 ? 479 : 512);
        EXPECT_TRUE(c->visibleAtStart);
        const auto* b = findBitmap(c->bitmap);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->role, ui::BitmapRole::LetterTile);
        EXPECT_EQ(std::string(b->what), std::string(1, static_cast<char>('A' + k)));
    }
    // Shown at their bitmaps' sizes, neighbours in a row never overlap.
    for (int k = 1; k < 26; ++k) {
        if (k == 13) continue;
        const auto* prev = findControl(ui::id::LetterTile(k - 1));
        const auto* cur = findControl(ui::id::LetterTile(k));
        EXPECT_LE(prev->left + findBitmap(prev->bitmap)->width, cur->left) << k;
    }
}

TEST(ControlTableTest, ButtonFacesExistAndFitTheirButtons) {
    for (const auto& c : controlTable) {
        if (c.kind != ControlKind::OwnerDrawButton) continue;
        const auto* pressed = findBitmap(c.pressedFace);
        const auto* normal = findBitmap(c.normalFace);
        ASSERT_NE(pressed, nullptr) << c.name;
        ASSERT_NE(normal, nullptr) << c.name;
        EXPECT_EQ(pressed->role, ui::BitmapRole::ButtonPressed) << c.name;
        EXPECT_EQ(normal->role, ui::BitmapRole::ButtonNormal) << c.name;
        EXPECT_EQ(pressed->width, normal->width) << c.name;
        EXPECT_EQ(pressed->height, c.height) << c.name;
        // Only AddButton shows faces wider than itself, scaled.
        EXPECT_EQ(normal->width, c.id == ui::id::AddButton ? 115 : c.width) << c.name;
    }
    EXPECT_EQ(findControl(ui::id::ExitButton)->normalFace, findControl(ui::id::CloseAddButton)->normalFace);
    EXPECT_EQ(findControl(ui::id::ExitButton)->pressedFace, findControl(ui::id::CloseAddButton)->pressedFace);
}

TEST(ControlTableTest, EveryPictureHasItsBitmapAndOnlyTheTilesStartVisible) {
    for (const auto& c : controlTable) {
        if (c.kind != ControlKind::Picture) continue;
        const auto* b = findBitmap(c.bitmap);
        ASSERT_NE(b, nullptr) << c.name;
        const bool tile = b->role == ui::BitmapRole::LetterTile;
        EXPECT_EQ(c.visibleAtStart, tile) << c.name;
        EXPECT_EQ(c.parent, Window::Main) << c.name;
    }
}

TEST(ControlTableTest, ControlsSitInsideTheirWindows) {
    const auto windows = ui::windowSpecs(1024, 768);
    for (const auto& c : controlTable) {
        const auto& w = windows[static_cast<int>(c.parent)];
        int width = c.width;
        int height = c.height;
        if (c.kind == ControlKind::Picture) {
            width = findBitmap(c.bitmap)->width;
            height = findBitmap(c.bitmap)->height;
        }
        EXPECT_GE(c.left, 0) << c.name;
        EXPECT_GE(c.top, 0) << c.name;
        EXPECT_LE(c.left + width, w.width) << c.name;
        EXPECT_LE(c.top + height, w.height) << c.name;
    }
}

TEST(ControlTableTest, SharedRectanglesAndParentsAreAsTheLayoutNeeds) {
    auto same = [](int a, int b) {
        const auto* x = findControl(a);
        const auto* y = findControl(b);
        return x->left == y->left && x->top == y->top && x->width == y->width && x->height == y->height;
    };
    EXPECT_TRUE(same(ui::id::PhraseDisplay, ui::id::PhraseUnderlay));
    EXPECT_TRUE(same(ui::id::LossFigure, ui::id::AltLossFigure));
    EXPECT_TRUE(same(ui::id::GallowsStage1, ui::id::AltGallowsStage1));
    for (int id : {ui::id::AddButton, ui::id::DeleteButton, ui::id::ViewButton, ui::id::CloseAddButton,
                   ui::id::PhraseEdit, ui::id::HintEdit}) {
        EXPECT_EQ(findControl(id)->parent, Window::AddPuzzle) << id;
    }
    EXPECT_EQ(findControl(ui::id::MessageCloseButton)->parent, Window::Message);
    EXPECT_EQ(findControl(ui::id::PhraseEdit)->textLimit, 38);
    EXPECT_EQ(findControl(ui::id::HintEdit)->textLimit, 34);
    EXPECT_EQ(findControl(ui::id::GuessEdit)->textLimit, 0);
    EXPECT_EQ(findControl(ui::id::PhraseDisplay)->font, ui::ControlFont::Phrase);
    EXPECT_EQ(findControl(ui::id::PhraseUnderlay)->font, ui::ControlFont::Phrase);
    EXPECT_EQ(findControl(ui::id::HintDisplay)->font, ui::ControlFont::Interface);
    EXPECT_EQ(findControl(ui::id::PhraseUnderlay)->kind, ControlKind::TextPrefix);
}

TEST(BitmapTableTest, EightyTwoDistinctBitmapsAllInUse) {
    std::set<int> ids;
    for (const auto& b : ui::bitmapTable) EXPECT_TRUE(ids.insert(b.id).second) << b.id;
    std::set<int> used = {48, 100, 1870};
    for (const auto& c : controlTable) {
        if (c.bitmap) used.insert(c.bitmap);
        if (c.pressedFace) used.insert(c.pressedFace);
        if (c.normalFace) used.insert(c.normalFace);
    }
    EXPECT_EQ(used, ids);
}

// What the desktop hears of each row when the control is made: the row as it
// stands, the size of a picture's bitmap, and only the phrase display over its
// underlay.
TEST(ControlTableTest, EachControlIsDescribedToTheDesktopAsItsRowSays) {
    for (const auto& c : controlTable) {
        const platform::ControlDescription d = ui::describeControl(c);
        EXPECT_EQ(d.id, c.id);
        EXPECT_STREQ(d.name, c.name);
        EXPECT_EQ(d.kind, c.kind) << c.name;
        EXPECT_EQ(d.parent, c.parent) << c.name;
        EXPECT_EQ(platform::Rect({d.left, d.top, d.left + d.width, d.top + d.height}),
                  platform::Rect({c.left, c.top, c.left + c.width, c.top + c.height})) << c.name;
        EXPECT_EQ(d.font, c.font) << c.name;
        EXPECT_EQ(d.textLimit, c.textLimit) << c.name;
        EXPECT_EQ(d.normalFace, c.normalFace) << c.name;
        EXPECT_EQ(d.pressedFace, c.pressedFace) << c.name;
        if (c.kind == ControlKind::Picture) {
            const auto* bmp = ui::findBitmap(c.bitmap);
            ASSERT_NE(bmp, nullptr) << c.name;
            EXPECT_EQ(d.bitmap, c.bitmap) << c.name;
            EXPECT_EQ(d.bitmapSize, platform::Size({bmp->width, bmp->height})) << c.name;
        } else {
            EXPECT_EQ(d.bitmap, 0) << c.name;
        }
        EXPECT_EQ(d.transparent, c.id == ui::id::PhraseDisplay) << c.name;
        EXPECT_EQ(d.stackUnder, c.id == ui::id::PhraseUnderlay ? ui::id::PhraseDisplay : 0) << c.name;
    }
    // The control an underlay stays below is made before it.
    const auto display = std::find_if(controlTable.begin(), controlTable.end(),
                                      [](const auto& c) { return c.id == ui::id::PhraseDisplay; });
    const auto underlay = std::find_if(controlTable.begin(), controlTable.end(),
                                       [](const auto& c) { return c.id == ui::id::PhraseUnderlay; });
    EXPECT_LT(display, underlay);
}

}  // namespace
