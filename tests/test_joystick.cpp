#include "platform/joystick.h"
#include "devices/modul_joystic.h"

#include <QFile>
#include <QTemporaryDir>
#include <SDL.h>
#include <gtest/gtest.h>

using namespace lumi;

TEST(JoystickEvent, ThresholdsAreStrictAndProportionalToTheRestReading) {
    JOYINFO centre{32767, 32767, 0, 0};
    auto llegir = [&](int32_t x, int32_t y, int32_t b = 0) {
        return joystick_esdeveniment(JOYINFO{x, y, 0, b}, centre, 3);
    };
    EXPECT_EQ(llegir(42598, 32767), QStringLiteral("D"));
    EXPECT_EQ(llegir(42597, 32767), QString());
    EXPECT_EQ(llegir(22936, 32767), QStringLiteral("E"));
    EXPECT_EQ(llegir(22937, 32767), QString());
    EXPECT_EQ(llegir(32767, 42598), QStringLiteral("R"));
    EXPECT_EQ(llegir(32767, 22936), QStringLiteral("A"));
    EXPECT_EQ(llegir(0, 0, 0b11), QStringLiteral("EA12"));
    EXPECT_EQ(llegir(65535, 32767, 0b101), QStringLiteral("D13"));
    EXPECT_EQ(llegir(32767, 32767), QString());
    centre = JOYINFO{0, 0, 0, 0};
    EXPECT_EQ(llegir(1, 1), QStringLiteral("DR"));
    EXPECT_EQ(llegir(0, 0), QString()); // positions are never below 0
}

TEST(JoystickEvent, ButtonRenumbering) {
    EXPECT_EQ(joystick_traduir(QStringLiteral("D13"), QStringLiteral("1234")), QStringLiteral("D13"));
    EXPECT_EQ(joystick_traduir(QStringLiteral("3"), QStringLiteral("3412")), QStringLiteral("1"));
    EXPECT_EQ(joystick_traduir(QStringLiteral("1"), QStringLiteral("3412")), QStringLiteral("3"));
    EXPECT_EQ(joystick_traduir(QStringLiteral("A2"), QString()), QStringLiteral("A2"));
    // A direction letter in the map becomes a button.
    EXPECT_EQ(joystick_traduir(QStringLiteral("D"), QStringLiteral("D")), QStringLiteral("1"));
}

TEST(JoystickIni, ReadsTheButtonMapAndKeepsItWithoutAFile) {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("lumiraga.ini"));
    EstatDispositius d;
    carregar_joystick_ini(ini, d);
    EXPECT_EQ(d.joy_botons.value(0), QStringLiteral("1234"));

    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Joystick]\r\nnum_joy_button=4\r\n1=3\r\n2= 4 \r\n3=1\r\n4=2\r\n");
    f.close();
    carregar_joystick_ini(ini, d);
    EXPECT_EQ(d.num_joy_botons, 4);
    EXPECT_EQ(d.joy_botons.value(0), QStringLiteral("3412"));

    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("[Joystick]\r\nnum_joy_button=2\r\n");
    f.close();
    carregar_joystick_ini(ini, d);
    EXPECT_EQ(d.joy_botons.size(), 3);
    EXPECT_EQ(d.joy_botons.value(0), QString());
    EXPECT_EQ(joystick_traduir(QStringLiteral("E4"), d.joy_botons.value(0)), QStringLiteral("E4"));

    // A count no joystick can have keeps the one there was.
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("[Joystick]\r\nnum_joy_button=-7\r\n");
    f.close();
    carregar_joystick_ini(ini, d);
    EXPECT_EQ(d.num_joy_botons, 2);
}

namespace {
// A virtual SDL joystick standing in for a real device.
struct JoystickVirtual : ::testing::Test {
    SDL_Joystick* joy = nullptr;
    int index = -1;
    void SetUp() override {
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
        index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 4, 0);
        ASSERT_GE(index, 0) << SDL_GetError();
        joy = SDL_JoystickOpen(index);
        ASSERT_NE(joy, nullptr);
        dispositius() = EstatDispositius{};
    }
    void TearDown() override {
        if (joy) SDL_JoystickClose(joy);
        SDL_JoystickDetachVirtual(index);
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    }
    void posar(int16_t x, int16_t y, std::initializer_list<int> botons = {}) {
        SDL_JoystickSetVirtualAxis(joy, 0, x);
        SDL_JoystickSetVirtualAxis(joy, 1, y);
        for (int b = 0; b < 4; ++b)
            SDL_JoystickSetVirtualButton(joy, b, SDL_RELEASED);
        for (int b : botons)
            SDL_JoystickSetVirtualButton(joy, b - 1, SDL_PRESSED);
    }
};
} // namespace

TEST_F(JoystickVirtual, FoundAtRestThenReportsMovesAndButtons) {
    posar(0, 0);
    ASSERT_TRUE(joystick_provar(index));
    EXPECT_EQ(dispositius().num_joystick, index + 1);
    EXPECT_EQ(dispositius().sensibilitat_joystick, 3);
    EXPECT_EQ(dispositius().joy_centre.wXpos, 32768);
    EXPECT_EQ(joystick_llegir(), QString());

    posar(32767, 0);
    EXPECT_EQ(joystick_llegir(), QStringLiteral("D"));
    EXPECT_EQ(joystick_llegir(), QStringLiteral("D")); // no memory between calls
    posar(-32768, -32768, {1, 2});
    EXPECT_EQ(joystick_llegir(), QStringLiteral("EA12"));
    posar(0, 32767, {3});
    dispositius().joy_botons[0] = QStringLiteral("3412");
    EXPECT_EQ(joystick_llegir(), QStringLiteral("R1"));
}

TEST_F(JoystickVirtual, NotPolledBeyondTheSecondOrWhenAbsent) {
    dispositius().num_joystick = 3;
    posar(32767, 0);
    EXPECT_EQ(joystick_llegir(), QString());
    EXPECT_FALSE(joystick_provar(index + 5));
    EXPECT_EQ(dispositius().joy_centre.wXpos, 0);
}
