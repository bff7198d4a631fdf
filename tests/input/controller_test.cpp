// The input controller stepped frame by frame from the input state, as the
// window callbacks would fill it: key states, hold counts and repeat, the
// mouse with the pointer-inside rule and clamping, and the failure reports.
#include "of/Controller.h"

#include "of/InputState.h"
#include "scratch_dir.h"

#include <filesystem>
#include <vector>

namespace {

using Kura::Controller;

constexpr int WIDTH = 960, HEIGHT = 640, HOLD_INTERVAL = 10;
constexpr int CODE_Z = 'z', CODE_UP = 357;

class ControllerTest : public ScratchDirTest {
protected:
    void SetUp() override {
        ScratchDirTest::SetUp();
        Kura::g_pInput = new Kura::InputState(WIDTH, HEIGHT);
        Controller::Create(HOLD_INTERVAL);
        m_Pad = Controller::Get();
        ASSERT_NE(m_Pad, nullptr);
    }
    void TearDown() override {
        Controller::Destroy();
        delete Kura::g_pInput;
        Kura::g_pInput = nullptr;
        ScratchDirTest::TearDown();
    }

    Kura::InputState& Input() { return *Kura::g_pInput; }
    void Step(int frames = 1) {
        for (int i = 0; i < frames; ++i)
            m_Pad->Update();
    }

    Controller* m_Pad = nullptr;
};

TEST_F(ControllerTest, OneFrameTapReadsPressedHeldReleasedUp) {
    Input().OnKeyPressed(CODE_Z);
    Step();
    EXPECT_TRUE(m_Pad->IsPressed(Controller::KEY_Z));
    EXPECT_TRUE(m_Pad->IsDown(Controller::KEY_Z));
    Input().OnKeyReleased(CODE_Z);
    Step();
    EXPECT_FALSE(m_Pad->IsPressed(Controller::KEY_Z));
    EXPECT_TRUE(m_Pad->IsDown(Controller::KEY_Z)); // held with count 1 though already up
    EXPECT_EQ(m_Pad->GetHoldCount(Controller::KEY_Z), 0);
    Step();
    EXPECT_TRUE(m_Pad->IsReleased(Controller::KEY_Z));
    EXPECT_FALSE(m_Pad->IsDown(Controller::KEY_Z));
    Step();
    EXPECT_FALSE(m_Pad->IsReleased(Controller::KEY_Z));
    EXPECT_FALSE(m_Pad->IsDown(Controller::KEY_Z));
    EXPECT_FALSE(std::filesystem::exists("log.txt"));
}

TEST_F(ControllerTest, HeldKeyHoldsEveryIntervalAndRepeatsOnPressAndAfterNIntervals) {
    Input().OnKeyPressed(CODE_UP);
    std::vector<int> hold, repeat0, repeat1;
    for (int count = 0; count <= 30; ++count) { // count 0 is the press frame
        Step();
        if (m_Pad->IsHold(Controller::KEY_UP)) hold.push_back(count);
        if (m_Pad->IsRepeat(Controller::KEY_UP, 0)) repeat0.push_back(count);
        if (m_Pad->IsRepeat(Controller::KEY_UP, 1)) repeat1.push_back(count);
    }
    EXPECT_EQ(hold, (std::vector<int>{10, 20, 30}));
    EXPECT_EQ(m_Pad->GetHoldCount(Controller::KEY_UP), 3);
    EXPECT_EQ(repeat0, (std::vector<int>{0, 10, 20, 30}));
    EXPECT_EQ(repeat1, (std::vector<int>{0, 20, 30}));
    Input().OnKeyReleased(CODE_UP);
    Step();
    EXPECT_TRUE(m_Pad->IsReleased(Controller::KEY_UP));
    EXPECT_EQ(m_Pad->GetHoldCount(Controller::KEY_UP), 0);
}

TEST_F(ControllerTest, DeviceInputIsRawAndEveryButtonHasItsKey) {
    const int codes[Controller::KEY_NUM] = {13,  'w', 357, 359, 356, 358, 'z',  'x', 's',
                                            ' ', ',', '.', 'b', 'k', '/', '\\', 'q'};
    for (int key = 0; key < Controller::KEY_NUM; ++key) {
        Input().OnKeyPressed(codes[key]);
        EXPECT_TRUE(m_Pad->IsDeviceInput(key)) << key;
        EXPECT_FALSE(m_Pad->IsDown(key)) << key; // not before the next update
        Step();
        EXPECT_TRUE(m_Pad->IsPressed(key)) << key;
        Input().OnKeyReleased(codes[key]);
        EXPECT_FALSE(m_Pad->IsDeviceInput(key)) << key;
    }
}

TEST_F(ControllerTest, DeviceOneNeverReadsDown) {
    Input().OnKeyPressed(0); // what Ctrl+Space sends
    for (int code : {13, int('w'), int('z'), int('x'), int('q'), 357, 358, 359, 356})
        Input().OnKeyPressed(code);
    for (int frame = 0; frame < 3; ++frame) {
        Step();
        for (int key = 0; key < Controller::KEY_NUM; ++key) {
            EXPECT_FALSE(m_Pad->IsDeviceInput(key, 1));
            EXPECT_FALSE(m_Pad->IsDown(key, 1));
        }
    }
    EXPECT_TRUE(m_Pad->IsDown(Controller::KEY_Z, 0));
}

TEST_F(ControllerTest, MouseGoesUpPressedHeldUpAndIsNeverReleased) {
    Input().OnMouseMoved(100, 100);
    Input().OnMousePressed(100, 100, 0);
    Step();
    EXPECT_TRUE(m_Pad->IsLMousePressed());
    EXPECT_FALSE(m_Pad->IsRMouseDown());
    Step(HOLD_INTERVAL);
    EXPECT_TRUE(m_Pad->IsLMouseHold());
    EXPECT_EQ(m_Pad->GetLMouseHoldCount(), 1);
    EXPECT_TRUE(m_Pad->IsLMouseRepeat(0));
    EXPECT_FALSE(m_Pad->IsLMouseRepeat(1));
    Input().OnMouseReleased(100, 100, 0);
    Input().OnMousePressed(100, 100, 2);
    Input().OnMousePressed(100, 100, 1); // the middle button is not read
    Step();
    EXPECT_FALSE(m_Pad->IsLMouseDown());
    EXPECT_FALSE(m_Pad->IsLMouseReleased());
    EXPECT_TRUE(m_Pad->IsRMousePressed());
    // A quick click goes straight back to up.
    Input().OnMouseReleased(100, 100, 2);
    Step();
    EXPECT_FALSE(m_Pad->IsRMouseDown());
    EXPECT_FALSE(m_Pad->IsRMouseReleased());
    EXPECT_EQ(m_Pad->GetRMouseHoldCount(), 0);
}

TEST_F(ControllerTest, PointerOutsideTheWindowLetsGoOfTheMouse) {
    Input().OnMouseMoved(WIDTH + 1, 10);
    Input().OnMousePressed(WIDTH + 1, 10, 0);
    Step();
    EXPECT_FALSE(m_Pad->IsLMouseDown());
    Input().OnMouseMoved(50, 10); // back inside with the button still down
    Step(2);
    EXPECT_FALSE(m_Pad->IsLMouseDown());
    Input().OnMouseReleased(50, 10, 0);
    Step();
    Input().OnMousePressed(50, 10, 0);
    Step();
    EXPECT_TRUE(m_Pad->IsLMousePressed());
    Step(2);
    ASSERT_TRUE(m_Pad->IsLMouseDown());
    Input().OnMouseMoved(10, -1);
    Step();
    EXPECT_FALSE(m_Pad->IsLMouseDown());
}

TEST_F(ControllerTest, PositionIsClampedToTheWindowAndMovesAreFlagged) {
    Input().OnMouseMoved(-5, 700);
    Step();
    EXPECT_EQ(m_Pad->GetMouseX(), 0);
    EXPECT_EQ(m_Pad->GetMouseY(), HEIGHT);
    EXPECT_TRUE(m_Pad->IsMouseMoved());
    Step();
    EXPECT_FALSE(m_Pad->IsMouseMoved());
    Input().OnMouseMoved(WIDTH + 3, 12);
    Step();
    EXPECT_EQ(m_Pad->GetMouseX(), WIDTH);
    EXPECT_EQ(m_Pad->GetMouseY(), 12);
    EXPECT_TRUE(m_Pad->IsMouseMoved());
    Input().SetWindowSize(400, 300);
    Step();
    EXPECT_EQ(m_Pad->GetMouseX(), 400);
    EXPECT_EQ(m_Pad->GetMouseY(), 12);
}

TEST_F(ControllerTest, BadButtonIndexIsReportedAndReadsUp) {
    EXPECT_FALSE(m_Pad->IsDown(Controller::KEY_NUM));
    EXPECT_FALSE(m_Pad->IsRepeat(-1, 0));
    EXPECT_FALSE(m_Pad->IsDeviceInput(0, Controller::DEVICE_NUM));
    std::string log = ReadFile("log.txt");
    EXPECT_NE(log.find("Func=Kura::Controller::IsDown\n"
                       "mes=key>=0 && key<KEY_NUM && device>=0 && device<DEVICE_NUM\n"),
              std::string::npos);
    EXPECT_NE(log.find("Func=Kura::Controller::IsRepeat\n"), std::string::npos);
    EXPECT_NE(log.find("Func=Kura::Controller::IsDeviceInput\n"), std::string::npos);
}

// Without an instance, without the input state or with a zero hold interval
// the controller reports the fault and reads every button as up.
using ControllerReports = ScratchDirTest;

TEST_F(ControllerReports, FaultsAreReportedAndEverythingReadsUp) {
    Controller::Destroy();
    EXPECT_EQ(Controller::Get(), nullptr);
    EXPECT_EQ(ReadFile("log.txt").rfind("File=src\\of\\Controller\nLine=", 0), 0u);
    ASSERT_EQ(Kura::g_pInput, nullptr);
    Controller::Create(HOLD_INTERVAL);
    Controller* pad = Controller::Get();
    ASSERT_NE(pad, nullptr);
    pad->Update();
    EXPECT_FALSE(pad->IsDown(Controller::KEY_Z));
    EXPECT_FALSE(pad->IsLMouseDown());
    EXPECT_FALSE(pad->IsDeviceInput(Controller::KEY_Z));
    Controller::Destroy();

    Kura::InputState input(WIDTH, HEIGHT);
    Kura::g_pInput = &input;
    Controller::Create(0);
    pad = Controller::Get();
    input.OnKeyPressed(CODE_Z);
    input.OnMouseMoved(5, 5);
    input.OnMousePressed(5, 5, 0);
    pad->Update();
    pad->Update();
    EXPECT_FALSE(pad->IsHold(Controller::KEY_Z));
    EXPECT_EQ(pad->GetHoldCount(Controller::KEY_Z), 0);
    EXPECT_FALSE(pad->IsRepeat(Controller::KEY_Z, 0));
    EXPECT_FALSE(pad->IsLMouseHold());
    EXPECT_EQ(pad->GetRMouseHoldCount(), 0);
    Controller::Destroy();
    Kura::g_pInput = nullptr;
    std::string log = ReadFile("log.txt");
    for (const char* report :
         {"Get\nmes=g_pInstance", "Impl::Impl\nmes=g_pInput", "IsDeviceInput\nmes=m_pID",
          "IsHold\nmes=m_HoldInterval>0", "GetHoldCount\nmes=m_HoldInterval>0",
          "IsLMouseHold\nmes=m_HoldInterval>0", "GetRMouseHoldCount\nmes=m_HoldInterval>0"})
        EXPECT_NE(log.find(std::string("\nFunc=Kura::Controller::") + report + "\n"),
                  std::string::npos)
            << report;
}

} // namespace
