#include "app/palette.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace korvel {
namespace {

// WCAG 2.1's least contrast for lines, markers and large or bold text drawn
// over a ground.
constexpr double kLeast = 3.0;

using Named = std::vector<std::pair<const char*, Color>>;

// What each profile draws over the view's ground that must stand out from it.
Named overTheView(const Profile& p) {
    return {{"planet", p.planet},
            {"second planet", p.secondPlanet},
            {"second planet's path", blend(p.secondPlanetPath, p.ground, p.secondPlanetPathAlpha)},
            {"reference circle", p.circle},
            {"predicted path", p.path},
            {"burn preview", p.preview},
            {"scale bar", p.scaleBar}};
}

Named overTheGraph(const Profile& p) {
    return {{"graph text", p.graphText}, {"graph grid", p.graphGrid}, {"graph note", p.graphNote},
            {"kinetic", p.kinetic},      {"potential", p.potential},  {"total", p.total}};
}

void expectReadable(const Named& items, Color ground) {
    for (const auto& [name, colour] : items)
        EXPECT_GE(contrastRatio(colour, ground), kLeast) << name << " against its ground";
}

TEST(PaletteTest, ContrastRatioFollowsTheWcagFormula) {
    EXPECT_NEAR(contrastRatio(rgb(0, 0, 0), rgb(255, 255, 255)), 21.0, 1e-9);
    EXPECT_NEAR(contrastRatio(rgb(255, 255, 255), rgb(0, 0, 0)), 21.0, 1e-9);
    // Mid grey on white: the worked figure of the guidelines' own examples.
    EXPECT_NEAR(contrastRatio(rgb(118, 118, 118), rgb(255, 255, 255)), 4.54, 0.01);
    // Half of white over black is a mid grey; opaque keeps the colour.
    EXPECT_EQ(blend(rgb(255, 255, 255), kBlack, 128), rgb(128, 128, 128));
}

TEST(PaletteTest, LightShowsEveryLineMarkerAndLabelAgainstWhite) {
    const Profile light = lightProfile();
    EXPECT_FALSE(light.drawnByCore);
    EXPECT_EQ(light.ground, rgb(255, 255, 255));
    expectReadable(overTheView(light), light.ground);
    // In Light the rings and the trail are lines of the view too.
    expectReadable(
        {{"rings", light.rings}, {"trail", light.trail[0]}, {"trail", light.trail[1]}, {"trail", light.trail[2]}},
        light.ground);
    expectReadable(overTheGraph(light), light.graphGround);
}

TEST(PaletteTest, DarkKeepsTheDrawingsColoursAndMakesWhatItAddsReadable) {
    const Profile dark = darkProfile();
    // The drawing's own colours, as the core draws them.
    EXPECT_TRUE(dark.drawnByCore);
    EXPECT_EQ(dark.ground, kBlack);
    EXPECT_EQ(dark.rings, kRingColor);
    EXPECT_EQ(dark.planet, kPlanetColor);
    EXPECT_EQ(dark.circle, kCircleColor);
    for (int phase = 0; phase < 3; ++phase) EXPECT_EQ(dark.trail[phase], trailColor(phase));
    // What the program adds over it stands out from black.
    expectReadable({{"second planet's path", blend(dark.secondPlanetPath, dark.ground, dark.secondPlanetPathAlpha)},
                    {"predicted path", dark.path},
                    {"burn preview", dark.preview},
                    {"scale bar", dark.scaleBar}},
                   dark.ground);
    expectReadable(overTheGraph(dark), dark.graphGround);
}

}  // namespace
}  // namespace korvel
