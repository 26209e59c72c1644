// Reading the players and the language from settings files written by each test.
#include "game/settings.h"
#include "ini/tests/tempfolder.h"

#include <filesystem>
#include <unistd.h>

namespace {

class SettingsTest : public TempFolderTest {};

TEST_F(SettingsTest, ValuesGiveKindsAndLanguage) {
    const struct {
        const char* what;
        const char* file;
        PlayerKind white;
        PlayerKind black;
        const char* language;
    } cases[] = {
        {"empty file", "", PLAYER_HUMAN, PLAYER_HUMAN, "en"},
        {"capital Velena, no black key", "[players]\nwhite=Velena\n", PLAYER_VELENA, PLAYER_HUMAN,
         "en"},
        {"both engines", "[players]\nwhite=engine\nblack=ENGINE\n", PLAYER_ENGINE, PLAYER_ENGINE,
         "en"},
        {"both velena", "[Players]\r\nWhite=velena\r\nBLACK=vElEnA\r\n", PLAYER_VELENA,
         PLAYER_VELENA, "en"},
        {"word followed by a digit", "[players]\nwhite=engine2\nblack=velena1\n", PLAYER_HUMAN,
         PLAYER_HUMAN, "en"},
        {"space after =", "[players]\nwhite= engine\n", PLAYER_HUMAN, PLAYER_HUMAN, "en"},
        {"space after word", "[players]\nwhite=engine \n", PLAYER_HUMAN, PLAYER_HUMAN, "en"},
        {"comment behind value", "[players]\nwhite=engine ;x\n", PLAYER_HUMAN, PLAYER_HUMAN, "en"},
        {"other word", "[players]\nwhite=computer\nblack=human\n", PLAYER_HUMAN, PLAYER_HUMAN,
         "en"},
        {"language FR", "[interface]\nlanguage=FR\n", PLAYER_HUMAN, PLAYER_HUMAN, "fr"},
        {"language De", "[interface]\nlanguage=De\n", PLAYER_HUMAN, PLAYER_HUMAN, "de"},
        {"language it", "[interface]\nlanguage=it\n", PLAYER_HUMAN, PLAYER_HUMAN, "en"},
        {"language empty", "[interface]\nlanguage=\n", PLAYER_HUMAN, PLAYER_HUMAN, "en"},
        {"language with space", "[interface]\nlanguage=de \n", PLAYER_HUMAN, PLAYER_HUMAN, "en"},
        {"keys in the wrong section", "[interface]\nwhite=engine\n[players]\nlanguage=de\n",
         PLAYER_HUMAN, PLAYER_HUMAN, "en"},
        {"full file", "[players]\nwhite=human\nblack=engine\n[interface]\nlanguage=de\n",
         PLAYER_HUMAN, PLAYER_ENGINE, "de"},
    };
    for (const auto& c : cases) {
        const Settings settings = readSettingsFrom(write("options.ini", c.file));
        EXPECT_EQ(settings.white, c.white) << c.what;
        EXPECT_EQ(settings.black, c.black) << c.what;
        EXPECT_EQ(settings.language, c.language) << c.what;
    }
}

// The game reads options.ini from its working directory.
TEST_F(SettingsTest, ReadsOptionsIniOfTheWorkingDirectory) {
    char previous[4096];
    ASSERT_NE(::getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(::chdir(folder.c_str()), 0);

    PlayerKind white = PLAYER_ENGINE;
    PlayerKind black = PLAYER_ENGINE;
    std::string language = "de";
    readSettings(white, black, language);
    EXPECT_EQ(white, PLAYER_HUMAN);
    EXPECT_EQ(black, PLAYER_HUMAN);
    EXPECT_EQ(language, "en");

    write("options.ini", "[players]\nblack=velena\n[interface]\nlanguage=fr\n");
    readSettings(white, black, language);
    EXPECT_EQ(white, PLAYER_HUMAN);
    EXPECT_EQ(black, PLAYER_VELENA);
    EXPECT_EQ(language, "fr");

    ASSERT_EQ(::chdir(previous), 0);
}

} // namespace

namespace {

// The shipped settings let a newcomer play white against our engine at once.
TEST(ShippedSettings, PersonAgainstEngineInEnglish) {
    const std::filesystem::path data =
        std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "data";
    const Settings settings = readSettingsFrom((data / "options.ini").string());
    EXPECT_EQ(settings.white, PLAYER_HUMAN);
    EXPECT_EQ(settings.black, PLAYER_ENGINE);
    EXPECT_EQ(settings.language, "en");
}

} // namespace
