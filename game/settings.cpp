#include "game/settings.h"

#include "ini/ini.h"

namespace {

std::string lowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

// The value must be the word alone: the document returns it untrimmed, so "engine " or
// "engine2" is a person.
PlayerKind playerKindOf(const std::string& value) {
    const std::string word = lowerAscii(value);
    if (word == "engine") {
        return PLAYER_ENGINE;
    }
    if (word == "velena") {
        return PLAYER_VELENA;
    }
    return PLAYER_HUMAN;
}

} // namespace

Settings readSettingsFrom(std::string_view fileName) {
    const INIFILE document(fileName);
    Settings settings;
    settings.white = playerKindOf(document.getValue("players", "white", ""));
    settings.black = playerKindOf(document.getValue("players", "black", ""));
    settings.language = lowerAscii(document.getValue("interface", "language", ""));
    if (settings.language != "de" && settings.language != "en" && settings.language != "fr") {
        settings.language = "en";
    }
    return settings;
}

Settings readSettings() {
    return readSettingsFrom(SETTINGS_FILE);
}

void readSettings(PlayerKind& white, PlayerKind& black, std::string& language) {
    Settings settings = readSettings();
    white = settings.white;
    black = settings.black;
    language = std::move(settings.language);
}
