#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "app/panel.h"
#include "fakes.h"

namespace korvel {
namespace {

using testing::Rig;

struct Bank : Rig {
    void velocity(double vx, double vy) {
        state.velX[kCraft] = vx;
        state.velY[kCraft] = vy;
    }
    void press(int index) { korvel.cmd_color_Click(index); }
    void size(int size) { press(kBankImpulse1000 + (size == 1000 ? 0 : size == 100 ? 1 : size == 10 ? 2 : 3)); }
    double vx() const { return state.velX[kCraft]; }
    double vy() const { return state.velY[kCraft]; }
};

TEST(ImpulseTest, AlongAndAgainstTheDirectionOfTravel) {
    Bank b;
    b.size(10);
    EXPECT_EQ(b.state.impulseSize, 10);
    b.velocity(3, 4);
    b.press(kBankForward);
    EXPECT_DOUBLE_EQ(b.vx(), 9);
    EXPECT_DOUBLE_EQ(b.vy(), 12);
    b.velocity(3, 4);
    b.press(kBankBackward);
    EXPECT_DOUBLE_EQ(b.vx(), -3);
    EXPECT_DOUBLE_EQ(b.vy(), -4);
}

TEST(ImpulseTest, SidewaysUpdatesYWithTheNewX) {
    struct Case {
        double vx, vy;
        int button;
        double wantX, wantY;
    };
    const Case cases[] = {
        {0, 1000, kBankToRight, 1000, 0},
        {0, 1000, kBankToLeft, -1000, 0},
        {1000, 0, kBankToRight, 1000, -1000},
        {1000, 0, kBankToLeft, 1000, 1000},
    };
    for (const Case& c : cases) {
        Bank b;
        b.size(1000);
        b.velocity(c.vx, c.vy);
        b.press(c.button);
        EXPECT_DOUBLE_EQ(b.vx(), c.wantX);
        EXPECT_DOUBLE_EQ(b.vy(), c.wantY);
    }
}

TEST(ImpulseTest, SizeButtonsChooseAndUntilThenEveryImpulseAsksForASize) {
    const std::string chooseFirst =
        "No impulse size is chosen yet. Choose one first with \"impulse 1000\", "
        "\"impulse 100\", \"impulse 10\" or \"impulse 1\".";
    // Moving or at rest (where the missing size is said first), with any
    // direction text: nothing changes, and the operator is told why.
    for (double speed : {5.0, 0.0}) {
        Bank b;
        b.velocity(speed * 0.6, speed * 0.8);
        b.controls.box(kBoxDirection) = "north";
        for (int button : {kBankForward, kBankBackward, kBankToRight, kBankToLeft}) b.press(button);
        b.korvel.cmd_apply_Click();
        EXPECT_EQ(b.vx(), speed * 0.6);
        EXPECT_EQ(b.vy(), speed * 0.8);
        EXPECT_EQ(b.controls.messages, std::vector<std::string>(5, chooseFirst));
    }
    Bank b;
    const int sizes[] = {1000, 100, 10, 1};
    for (int i = 0; i < 4; ++i) {
        b.press(kBankImpulse1000 + i);
        EXPECT_EQ(b.state.impulseSize, sizes[i]);
    }
}

TEST(ImpulseTest, ACraftAtRestHasNoDirectionOfTravel) {
    Bank b;
    b.size(100);
    for (int button : {kBankForward, kBankBackward, kBankToRight, kBankToLeft}) {
        b.controls.messages.clear();
        b.press(button);
        EXPECT_EQ(b.vx(), 0);
        EXPECT_EQ(b.vy(), 0);
        EXPECT_TRUE(std::isfinite(b.vx()));
        EXPECT_EQ(b.controls.messages.size(), 1u);
    }
}

TEST(ImpulseTest, ASpeedTooSmallToScaleByChangesNothingAndSaysSo) {
    struct Case {
        double vx, vy;
        int button;
    };
    // Scaling by 1000 / speed overflows (0 * inf along x in the first case).
    const Case cases[] = {
        {0, 1e-310, kBankForward},
        {1e-310, 0, kBankBackward},
        {1e-303, 1e-303, kBankToRight},
        {1e-303, 1e-303, kBankToLeft},
    };
    for (const Case& c : cases) {
        Bank b;
        b.size(1000);
        b.velocity(c.vx, c.vy);
        b.press(c.button);
        EXPECT_EQ(b.vx(), c.vx) << c.button;
        EXPECT_EQ(b.vy(), c.vy) << c.button;
        EXPECT_EQ(b.controls.messages.size(), 1u) << c.button;
    }
}

TEST(ApplyImpulseTest, PushesInTheTypedDirection) {
    Bank b;
    b.size(100);
    b.velocity(5, 5);
    b.controls.box(kBoxDirection) = "0";
    b.korvel.cmd_apply_Click();
    EXPECT_DOUBLE_EQ(b.vx(), 105);
    EXPECT_DOUBLE_EQ(b.vy(), 5);
    b.controls.box(kBoxDirection) = "1.5708";
    b.korvel.cmd_apply_Click();
    EXPECT_NEAR(b.vx(), 105, 1e-3);
    EXPECT_NEAR(b.vy(), 105, 1e-6);
}

TEST(ApplyImpulseTest, ADirectionThatIsNotANumberIsRefused) {
    const std::pair<const char*, const char*> cases[] = {
        {"north", "\"dir of impulse\" must be a number; it holds \"north\"."},
        {"1e999", "\"dir of impulse\" is out of range; it holds \"1e999\"."},
    };
    for (const auto& [text, message] : cases) {
        Bank b;
        b.size(100);
        b.velocity(5, 5);
        b.controls.box(kBoxDirection) = text;
        b.korvel.cmd_apply_Click();
        EXPECT_DOUBLE_EQ(b.vx(), 5);
        EXPECT_DOUBLE_EQ(b.vy(), 5);
        EXPECT_EQ(b.controls.messages, std::vector<std::string>{message});
    }
}

TEST(SecondPlanetButtonTest, PlacesItOnACircularOrbit) {
    Bank b;
    b.controls.box(kBoxSecondPlanetDist) = "60.2";
    b.controls.box(kBoxSecondPlanetMass) = ".0123";
    b.press(kBankSecondPlanet);
    const SimulationState& s = b.state;
    EXPECT_TRUE(s.secondPlanetOn);
    EXPECT_DOUBLE_EQ(s.posX[kSecondPlanet], 384'076'000);
    EXPECT_EQ(s.posY[kSecondPlanet], 0);
    EXPECT_EQ(s.velX[kSecondPlanet], 0);
    EXPECT_NEAR(s.velY[kSecondPlanet], 1019.12, 0.005);
    EXPECT_DOUBLE_EQ(s.secondPlanetMass, 0.0123);
    EXPECT_NEAR(s.secondPlanetRadius, 0.2308, 5e-5);
}

TEST(SecondPlanetButtonTest, ANumberFollowedByWordsReadsAsItsNumber) {
    Bank b;
    b.state.posX[kSecondPlanet] = 5;  // placed anew on every press
    b.controls.box(kBoxSecondPlanetDist) = " 2.5 radii";
    b.controls.box(kBoxSecondPlanetMass) = "0 (none)";
    b.press(kBankSecondPlanet);
    EXPECT_TRUE(b.state.secondPlanetOn);
    EXPECT_DOUBLE_EQ(b.state.posX[kSecondPlanet], 2.5 * kLengthUnit);
    EXPECT_EQ(b.state.secondPlanetMass, 0);
    EXPECT_EQ(b.state.secondPlanetRadius, 0);
    EXPECT_TRUE(b.controls.messages.empty());
}

TEST(SecondPlanetButtonTest, RefusedValuesChangeNothing) {
    struct Case {
        const char* dist;
        const char* mass;
        const char* message;
    };
    const std::string massText = kDefaultTexts[kBoxSecondPlanetMass];
    const std::string distText = kDefaultTexts[kBoxSecondPlanetDist];
    // Their quotes stop at 40 characters.
    const char* untouchedMass =
        "\"second planet mass\" must be a number; it holds \"second planet mass as multiple of Earth…\".";
    const char* untouchedDist =
        "\"second planet dist\" must be a number; it holds \"second planet dist as multiple of Earth…\".";
    const Case cases[] = {
        // The description texts, as the panel starts, are no planet.
        {distText.c_str(), massText.c_str(), untouchedDist},
        {"60.2", massText.c_str(), untouchedMass},
        {"far", "1", "\"second planet dist\" must be a number; it holds \"far\"."},
        {",5 radii", "1", "\"second planet dist\" must be a number; it holds \",5 radii\"; use a point: .5 radii."},
        {"10", "", "\"second planet mass\" must be a number; it holds \"\"."},
        {"10", "-3", "\"second planet mass\" must not be negative; it holds \"-3\"."},
        {"10", "1e999", "\"second planet mass\" is out of range; it holds \"1e999\"."},
        {"1e999", "1", "\"second planet dist\" is out of range; it holds \"1e999\"."},
        {"1e305", "1", "\"second planet dist\" is out of range; it holds \"1e305\"."},
        {"1e-200", "1", "\"second planet dist\" is out of range; it holds \"1e-200\"."},
    };
    for (const Case& c : cases) {
        Bank b;
        b.controls.box(kBoxSecondPlanetDist) = c.dist;
        b.controls.box(kBoxSecondPlanetMass) = c.mass;
        b.press(kBankSecondPlanet);
        EXPECT_FALSE(b.state.secondPlanetOn) << c.message;
        EXPECT_EQ(b.state.posX[kSecondPlanet], 0);
        EXPECT_EQ(b.state.secondPlanetMass, 0);
        ASSERT_EQ(b.controls.messages.size(), 1u);
        EXPECT_EQ(b.controls.messages[0], c.message);
    }
}

TEST(BankTest, TheReadoutAndUnknownIndicesDoNothing) {
    Bank b;
    b.size(10);
    b.velocity(3, 4);
    const SimulationState before = b.state;
    for (int index : {int(kBankDistance), -1, 10, 32767}) b.press(index);
    EXPECT_EQ(b.state.velX, before.velX);
    EXPECT_EQ(b.state.impulseSize, 10);
    EXPECT_FALSE(b.state.secondPlanetOn);
    EXPECT_TRUE(b.controls.messages.empty());
}

TEST(BankTest, AnImpulseTakesEffectAtTheNextTick) {
    Bank b;
    b.run();
    b.tickAfter(0.001);
    b.size(1000);
    b.press(kBankForward);
    b.tickAfter(0.001);
    EXPECT_NEAR(std::stod(b.controls.box(kBoxSpeed)), 9000, 1);
}

}  // namespace
}  // namespace korvel
