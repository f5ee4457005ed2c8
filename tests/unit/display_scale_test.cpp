// The banner's size and a text's place at the display's DPI, over the sizes Wine's dialogs take
// at 100% to 200% (the control grows with the face's metrics, not exactly with the DPI).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "pages/display_scale.h"

namespace {

TEST(DisplayScale, ABannerForItsDpiCoversItsControlAndKeepsItsShape) {
    const ui::Size at96{242, 348};
    struct Display {
        int dpi;
        ui::Size control;
    };
    for (const Display& d : {Display{96, at96}, {120, {311, 428}}, {144, {380, 535}}, {192, {483, 696}}}) {
        for (long times : {1, 2}) {
            const ui::Size bitmap{at96.width * times, at96.height * times};
            const ui::Size drawn = pages::BannerSize(bitmap, at96, d.control, d.dpi);
            SCOPED_TRACE(testing::Message() << d.dpi << " DPI, picture for " << times * 100 << "%");
            EXPECT_GE(drawn.width, d.control.width);
            EXPECT_GE(drawn.height, d.control.height);
            // Scaled as a whole, never stretched: no more than a pixel of rounding off its shape.
            EXPECT_LE(std::abs(drawn.width * at96.height - drawn.height * at96.width), at96.width + at96.height);
            EXPECT_TRUE(d.dpi != 96 || drawn == at96)
                << "at 100% a picture for 100% or 200% is drawn at the control's size";
        }
        // Any other picture keeps its proportion to the window; at 100% it is left as it is.
        const ui::Size small = pages::BannerSize({121, 100}, at96, d.control, d.dpi);
        EXPECT_NEAR(static_cast<double>(small.width) / d.control.width, 0.5, 0.01) << d.dpi;
        EXPECT_TRUE(d.dpi != 96 || small == (ui::Size{121, 100})) << "left as it is at 100%";
    }
    // Within two pixels of twice the control is a picture for 200%; three off is one for 100%.
    EXPECT_EQ(pages::BannerSize({486, 694}, at96, at96, 96), (ui::Size{243, 347}));
    EXPECT_EQ(pages::BannerSize({487, 696}, at96, at96, 96), (ui::Size{487, 696}));
}

TEST(DisplayScale, ATextThatDoesNotFitRunsOutWithinItsRowOnlyAsFarAsItNeeds) {
    // A text of `length` pixels on lines of 10, wrapped at the width it is given.
    auto text = [](long length) {
        return [length](long width) { return ui::Size{std::min(length, width), (length + width - 1) / width * 10}; };
    };
    const ui::Rect place{100, 0, 150, 10}, room{20, 0, 200, 10};
    struct Case {
        long length;
        ui::Rect fitted;
    };
    for (const Case& c : {Case{50, place},              // fits already
                          Case{90, {100, 0, 200, 10}},  // runs out to the right
                          Case{130, {70, 0, 200, 10}},  // and then left by what it still needs
                          Case{200, place}})            // would not fit even so: stays
        EXPECT_EQ(pages::FittedPlace(place, room, text(c.length)), c.fitted) << c.length;
}

}  // namespace
