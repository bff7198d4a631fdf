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

TEST_F(Settings, ReadsIntBoolStringAndValueByKey) {
    WriteSettings("global string app_title = \"物語 test\";\n"
                  "global fontSizeL = 32;\n"
                  "global gCharaData;\n"
                  "gCharaData[0].name = \"Aoi\";\n"
                  "gCharaData[0].msgSeIndex = 3;\n"
                  "gCharaData[1].name = \"Ren\";\n");
    Setting::create();
    Setting* setting = Setting::get();
    ASSERT_NE(setting, nullptr);
    EXPECT_EQ(setting->getInt("app_width"), 960);
    EXPECT_EQ(setting->getInt("fontSizeL"), 32);
    EXPECT_TRUE(setting->getBool("is_fullscreen")); // set to 2
    EXPECT_EQ(setting->getString("app_folder_name"), GAME_FOLDER);
    EXPECT_EQ(setting->getString("app_title"), "物語 test");
    Kel::Ref chara = setting->getValue("gCharaData");
    Kel::Holder* first = chara.value()->elementAt(0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->value()->member("name")->value()->toString().str(), "Aoi");
    EXPECT_EQ(first->value()->member("msgSeIndex")->value()->toInt(), 3);
    EXPECT_EQ(chara.value()->elementAt(1)->value()->member("name")->value()->toString().str(),
              "Ren");
    EXPECT_EQ(NewReports(), "");
}

TEST_F(Settings, MissingKeyReadsAsZeroFalseAndNull) {
    WriteSettings();
    Setting::create();
    Setting* setting = Setting::get();
    EXPECT_EQ(setting->getInt("key_the_file_never_sets"), 0);
    EXPECT_FALSE(setting->getBool("another_key_never_set"));
    EXPECT_EQ(setting->getString("a_third_key_never_set"), "[null]");
}

TEST_F(Settings, PathsOfTheGameFolder) {
    WriteSettings();
    Setting::create();
    Setting* setting = Setting::get();
    EXPECT_EQ(setting->getDataPath("scenario", "contents.kel"), "data/game1/scenario/contents.kel");
    EXPECT_EQ(setting->getDataPath("sound/se", "a.wav", true), "game1/sound/se/a.wav");
    EXPECT_EQ(setting->getSavePath("save", "save.kel"), "data/game1/save/save.kel");
    EXPECT_EQ(Setting::joinPath("font", "ipam.ttf"), "font/ipam.ttf");
    // The folder name is read anew at every call.
    setting->setGlobal("app_folder_name",
                       Kel::Ref(new Kel::variable::Variable::vString(Kel::SharedString("game2"))));
    EXPECT_EQ(setting->getDataPath("scenario", "001.kel"), "data/game2/scenario/001.kel");
}

TEST_F(Settings, SecondCreateKeepsTheFirstInstance) {
    WriteSettings();
    Setting::create();
    Setting* first = Setting::get();
    Setting::create();
    EXPECT_EQ(Setting::get(), first);
}

TEST_F(Settings, MissingFileIsReportedAndReadsGoOn) {
    Setting::create();
    EXPECT_EQ(NewReports(),
              "File=src\\game\\Setting\nLine=41\nFunc=Kura::Setting::Setting\nmes=0\n");
    ASSERT_NE(Setting::get(), nullptr);
    EXPECT_EQ(Setting::get()->getInt("never_defined_in_a_missing_file"), 0);
}

TEST_F(Settings, FileThatDoesNotCompileIsReported) {
    WriteFile("data/setting.kel", "global app_width = (960;\n");
    testing::internal::CaptureStdout();
    Setting::create();
    testing::internal::GetCapturedStdout();
    EXPECT_NE(NewReports().find("Func=Kura::Setting::Setting\nmes=0\n"), std::string::npos);
}

TEST_F(Settings, GetWithoutInstanceReports) {
    EXPECT_EQ(Setting::get(), nullptr);
    std::string report = NewReports();
    EXPECT_NE(report.find("Func=Kura::Setting::get\nmes=g_pInstance\n"), std::string::npos);
    EXPECT_EQ(report.find("File=src\\game\\Setting\n"), 0u);
}

} // namespace
} // namespace kura_test
