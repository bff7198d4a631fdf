// Settings read from a real "data/setting.kel": typed reads, missing keys,
// the game folder's paths and the reports of a missing file or instance.
#include "game_fixture.h"

#include "value.h"

namespace kura_test {
namespace {

using Kura::Setting;

class Settings : public GameFolderTest {
protected:
    void TearDown() override {
        Setting::destroy();
        GameFolderTest::TearDown();
    }
};

TEST_F(Settings, TypedReadsMissingKeysAndPaths) {
    WriteSettings("global string app_title = \"物語 test\";\nglobal gCharaData;\n"
                  "gCharaData[0].name = \"Aoi\";\ngCharaData[1].msgSeIndex = 3;\n");
    Setting::create();
    Setting* setting = Setting::get();
    ASSERT_NE(setting, nullptr);
    EXPECT_EQ(setting->getInt("app_width"), 960);
    EXPECT_TRUE(setting->getBool("is_fullscreen")); // set to 2
    EXPECT_EQ(setting->getString("app_title"), "物語 test");
    Kel::Ref chara = setting->getValue("gCharaData");
    EXPECT_EQ(chara.value()->elementAt(0)->value()->member("name")->value()->toString().str(),
              "Aoi");
    EXPECT_EQ(chara.value()->elementAt(1)->value()->member("msgSeIndex")->value()->toInt(), 3);
    EXPECT_EQ(setting->getInt("key_the_file_never_sets"), 0);
    EXPECT_FALSE(setting->getBool("another_key_never_set"));
    EXPECT_EQ(setting->getString("a_third_key_never_set"), "[null]");
    EXPECT_EQ(setting->getDataPath("sound/se", "a.wav", true), "game1/sound/se/a.wav");
    EXPECT_EQ(setting->getSavePath("save", "save.kel"), "data/game1/save/save.kel");
    // The folder name is read anew at every call.
    setting->setGlobal("app_folder_name",
                       Kel::Ref(new Kel::variable::Variable::vString(Kel::SharedString("game2"))));
    EXPECT_EQ(setting->getDataPath("scenario", "001.kel"), "data/game2/scenario/001.kel");
    EXPECT_EQ(NewReports(), "");
}

TEST_F(Settings, MissingOrBrokenFileAndMissingInstanceAreReported) {
    EXPECT_EQ(Setting::get(), nullptr);
    const std::string report = NewReports();
    EXPECT_NE(report.find("Func=Kura::Setting::get\nmes=g_pInstance\n"), std::string::npos);
    EXPECT_EQ(report.find("File=src\\game\\Setting\n"), 0u);
    Setting::create();
    EXPECT_EQ(NewReports(),
              "File=src\\game\\Setting\nLine=41\nFunc=Kura::Setting::Setting\nmes=0\n");
    EXPECT_EQ(Setting::get()->getInt("never_defined_in_a_missing_file"), 0);
    Setting::destroy();
    WriteFile("data/setting.kel", "global app_width = (960;\n");
    testing::internal::CaptureStdout();
    Setting::create();
    testing::internal::GetCapturedStdout();
    EXPECT_NE(NewReports().find("Func=Kura::Setting::Setting\nmes=0\n"), std::string::npos);
}

} // namespace
} // namespace kura_test
