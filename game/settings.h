// Who plays each side and the interface language, read once at start from options.ini.
//
//   [players]
//   white=engine     ; "engine" or "velena", any case; anything else is a person
//   black=velena
//   [interface]
//   language=de      ; "de", "en" or "fr", any case; anything else is "en"
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

enum PlayerKind : std::int32_t {
    PLAYER_HUMAN = 0,  // a person clicking the column buttons
    PLAYER_ENGINE = 1, // our own engine library
    PLAYER_VELENA = 2, // the engine in the outside-engine slot
};

struct Settings {
    PlayerKind white = PLAYER_HUMAN;
    PlayerKind black = PLAYER_HUMAN;
    std::string language = "en"; // always "de", "en" or "fr"
};

inline constexpr std::string_view SETTINGS_FILE = "options.ini";

// Reads options.ini in the working directory. Cannot fail: a missing or unreadable file, or a
// value that is not recognised, gives the default of that setting.
void readSettings(PlayerKind& white, PlayerKind& black, std::string& language);
Settings readSettings();
// The same for a settings file of another name.
Settings readSettingsFrom(std::string_view fileName);
