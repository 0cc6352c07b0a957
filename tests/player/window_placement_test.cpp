// Where the main window goes for each position flag and work area, worked
// out without a window.
#include <windows.h>

#include <gtest/gtest.h>

#include "PlayOptions.h"
#include "WindowPlacement.h"

namespace {

struct PlacementCase {
    const char* what;
    DWORD flags;
    BOOL reposition;
    RECT workArea;
    RECT window;
    BOOL moves;
    POINT place;
};

const RECT screen = {0, 0, 1280, 1024};
const RECT underTopBar = {0, 30, 1280, 1024};
const RECT small = {5, 5, 305, 205};  // 300 x 200

const PlacementCase cases[] = {
    {"centre", FlagCentreOnScreen, FALSE, screen, small, TRUE, {490, 412}},
    {"centre wins over the axes", FlagCentreOnScreen | FlagLeftOnScreen | FlagTopOnScreen, TRUE, screen, small,
     TRUE, {490, 412}},
    {"centre of a window wider than the screen rounds down", FlagCentreOnScreen, FALSE, screen,
     {0, 0, 1291, 201}, TRUE, {-6, 411}},
    {"right and bottom", FlagRightOnScreen | FlagBottomOnScreen, FALSE, screen, small, TRUE, {980, 824}},
    {"left and top", FlagLeftOnScreen | FlagTopOnScreen, FALSE, screen, small, TRUE, {0, 0}},
    {"horizontal centre keeps the top", FlagHorizontalCentre, FALSE, screen, small, TRUE, {490, 5}},
    {"bottom keeps the left", FlagBottomOnScreen, FALSE, screen, small, TRUE, {5, 824}},
    {"top below a top taskbar", FlagTopOnScreen | FlagVerticalCentre, FALSE, underTopBar, small, TRUE, {5, 30}},
    {"already in its place", FlagLeftOnScreen | FlagTopOnScreen, TRUE, screen, {0, 0, 300, 200}, FALSE, {}},
    {"past the right edge goes to the corner", 0, TRUE, screen, {1100, 10, 1400, 210}, TRUE, {980, 824}},
    {"past the bottom edge goes to the corner", FlagUnresizable, TRUE, screen, {10, 900, 310, 1100}, TRUE,
     {980, 824}},
    {"larger than the work area stays at its corner", 0, TRUE, underTopBar, {50, 50, 1400, 1100}, TRUE, {0, 30}},
    {"inside stays", 0, TRUE, screen, small, FALSE, {}},
    {"outside without repositioning stays", 0, FALSE, screen, {1100, 10, 1400, 210}, FALSE, {}},
};

TEST(WindowPlacement, FlagsAndWorkAreaGiveThePlace)
{
    for (const PlacementCase& c : cases) {
        SCOPED_TRACE(c.what);
        POINT place = {-99999, -99999};
        ASSERT_EQ(c.moves, placeOnWorkArea(c.flags, c.reposition, c.workArea, c.window, &place));
        if (c.moves) {
            EXPECT_EQ(c.place.x, place.x);
            EXPECT_EQ(c.place.y, place.y);
        }
    }
}

} // namespace
