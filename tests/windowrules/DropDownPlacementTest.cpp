#include <gtest/gtest.h>

#include "framework/window/rules/DropDownPlacement.h"

#include <string>

using Container::sRect;
using Window::PlaceDropDown;
using Window::sDropDownRequest;

namespace {

std::string Show(const sRect& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

} // namespace

TEST(DropDownPlacementTest, WorkAreas)
{
    const sRect primary{0, 0, 1920, 1040};
    const sRect above{0, -1080, 1920, -40};  // a monitor above the primary one
    const sRect left{-1280, 0, 0, 1024};     // a monitor left of it
    const sRect small{0, 0, 800, 600};
    const struct
    {
        const char* name;
        sDropDownRequest request;
        sRect expected;
    } cases[] = {
        {"below, as tall as the items", {{100, 100, 300, 122}, primary, 62, 0, 0, true}, {100, 122, 300, 184}},
        {"many items: two thirds of the work area less the combo",
         {{100, 100, 300, 122}, primary, 2000, 0, 0, true}, {100, 122, 300, 793}},
        {"explicit maximum height", {{100, 100, 300, 122}, primary, 300, 100, 0, true}, {100, 122, 300, 222}},
        {"explicit width", {{100, 100, 300, 122}, primary, 62, 0, 350, true}, {100, 122, 450, 184}},
        {"near the bottom opens upwards", {{100, 1000, 300, 1022}, primary, 62, 0, 0, true}, {100, 938, 300, 1000}},
        {"monitor above: upwards at negative y", {{100, -100, 300, -78}, above, 200, 0, 0, true},
         {100, -300, 300, -100}},
        {"monitor above: below when it fits", {{100, -1000, 300, -978}, above, 200, 0, 0, true},
         {100, -978, 300, -778}},
        {"monitor left: kept inside, upwards", {{-300, 900, -100, 922}, left, 200, 0, 400, true},
         {-400, 700, 0, 900}},
        {"monitor left: below", {{-1200, 10, -1000, 32}, left, 200, 0, 0, true}, {-1200, 32, -1000, 232}},
        {"fits on neither side, more room below: cut at the bottom", {{0, 280, 100, 300}, small, 380, 0, 0, true},
         {0, 300, 100, 600}},
        {"fits on neither side, more room above: cut at the top", {{0, 320, 100, 340}, small, 380, 0, 0, true},
         {0, 0, 100, 320}},
        {"no items: the combo itself", {{100, 100, 300, 122}, primary, 62, 0, 0, false}, {100, 100, 300, 122}},
    };
    for (const auto& c : cases)
    {
        const sRect placed = PlaceDropDown(c.request);
        EXPECT_EQ(c.expected, placed) << c.name << ": " << Show(placed);
    }
}
