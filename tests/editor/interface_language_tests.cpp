// The language of the editor's texts that the game does not translate.
#include <gtest/gtest.h>

#include "editor/core/interface_language.h"

namespace calyx::editor {
namespace {

TEST(InterfaceLanguage, FrenchWithoutTheGamesTextsElseTheGamesLanguage) {
    const auto of = [](std::string k7, std::string tq2, bool loaded = true) {
        Installation installation;
        installation.k7Language = std::move(k7);
        installation.tq2Language = std::move(tq2);
        return interfaceLanguage(installation, loaded);
    };
    EXPECT_EQ(of("", "English"), InterfaceLanguage::English);
    EXPECT_EQ(of("English", ""), InterfaceLanguage::English);  // only the first game installed
    EXPECT_EQ(of("English", "French"), InterfaceLanguage::French);  // the second game's counts
    EXPECT_EQ(of("", "FRENCH"), InterfaceLanguage::French);
    EXPECT_EQ(of("", "German"), InterfaceLanguage::English);
    EXPECT_EQ(of("", ""), InterfaceLanguage::English);
    // Without strings.dat the game's menus are French: so is everything else.
    EXPECT_EQ(of("", "English", false), InterfaceLanguage::French);
    EXPECT_EQ(of("", "German", false), InterfaceLanguage::French);
}

}  // namespace
}  // namespace calyx::editor
