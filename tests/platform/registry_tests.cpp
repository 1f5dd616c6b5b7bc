#include "platform/registry.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <random>
#include <string>

#include "fixtures/temp_dir.h"
#include "fixtures/wine_prefix.h"
#include "fixtures/wine_registry_sample.h"

namespace calyx::platform {
namespace {

using testing::wineSystemReg;

const RegistryTime later = RegistryTime::fromUnix(1800000000);
constexpr std::string_view laterLines = "] 1800000000\n#time=1dda4c66b338000\n";

std::string textBefore(const std::string& text, std::string_view marker) {
    return text.substr(0, text.find(marker));
}

TEST(RegistryText, KeepsWinesFileByteForByte) {
    const RegistryText registry(wineSystemReg);
    EXPECT_EQ(registry.text(), wineSystemReg);
    EXPECT_TRUE(registry.hasHeader());
    EXPECT_FALSE(registry.isWin64());

    // Keys match without regard to case; parents exist through their children.
    EXPECT_TRUE(registry.keyExists({"SOFTWARE"}));
    EXPECT_TRUE(registry.keyExists({"software", "classes", "*", "SHELLEX"}));
    EXPECT_TRUE(registry.keyExists({"Software", "Microsoft", "Windows NT", "CurrentVersion"}));
    EXPECT_FALSE(registry.keyExists({"Software", "Microsoft", "Windows N"}));
    EXPECT_FALSE(registry.keyExists({"Software", "Ornwick"}));
    EXPECT_FALSE(registry.keyExists({"Software\\Test"}));

    EXPECT_EQ(registry.valueText({"software", "test"}, "GREETING"), "\"hello from mingw\"");
    EXPECT_EQ(registry.valueText({"Software", "Classes", ".chm"}, ""), "\"chm.file\"");
    const auto filterData = registry.valueText(
        {"Software", "Classes", "CLSID", "{083863F1-70DE-11D0-BD40-00A0C911CE86}", "Instance",
         "{51B4ABF3-748F-4E3B-A276-C828330E926A}"},
        "FilterData");
    ASSERT_TRUE(filterData);
    EXPECT_EQ(filterData->rfind("hex:02,00,00,00,", 0), 0u);
    EXPECT_NE(filterData->find("\\\n  9b,71,00,00"), filterData->npos);
}

// Bytes of a "hex:" text: pairs of hex digits, anything else skipped.
std::string hexBytes(std::string_view text) {
    std::string bytes;
    text = text.substr(text.find(':') + 1);
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (std::isxdigit(static_cast<unsigned char>(text[i])) &&
            std::isxdigit(static_cast<unsigned char>(text[i + 1]))) {
            bytes += static_cast<char>(std::stoi(std::string(text.substr(i, 2)), nullptr, 16));
            ++i;
        }
    }
    return bytes;
}

TEST(RegistryText, FormatsValuesAsWineDoes) {
    const RegistryText registry(wineSystemReg);
    const RegistryPath filterKey = {"Software", "Classes", "CLSID",
                                    "{083863F1-70DE-11D0-BD40-00A0C911CE86}", "Instance",
                                    "{51B4ABF3-748F-4E3B-A276-C828330E926A}"};
    const std::string filter = *registry.valueText(filterKey, "FilterData");
    EXPECT_EQ(formatRegistryValue(RegistryType::Binary, hexBytes(filter), 13, "\n"), filter);
    const RegistryPath zones = {"Software", "Microsoft", "Windows", "CurrentVersion", "Time Zones"};
    const std::string link = *registry.valueText(zones, "SymbolicLinkValue");
    EXPECT_EQ(formatRegistryValue(RegistryType(6), hexBytes(link), 20, "\n"), link);

    EXPECT_EQ(formatRegistryValue(RegistryType::Dword, std::string("\x2a\0\0\0", 4), 9, "\n"),
              "dword:0000002a");
    EXPECT_EQ(formatRegistryValue(RegistryType::ExpandString, "%ProgramFiles%", 0, "\n"),
              "str(2):\"%ProgramFiles%\"");
    EXPECT_EQ(formatRegistryValue(RegistryType::String, std::string("C:\\G\\\0", 6), 0, "\n"),
              "\"C:\\\\G\\\\\"");
    EXPECT_EQ(formatRegistryValue(RegistryType::String, "", 0, "\n"), "\"\"");
    // Quotes, control characters, Latin-1 and the Windows-1252 extras.
    EXPECT_EQ(escapeRegistryText("a\"b\tc\n\x01" "7\x01x\xe9" "a\xe9z\x80", "\""),
              "a\\\"b\\tc\\n\\0017\\1x\\x00e9a\\xe9z\\x20ac");
    EXPECT_EQ(escapeRegistryText("[x]", "[]"), "\\[x\\]");
}

TEST(RegistryText, SettingAValueTouchesOnlyItsKey) {
    RegistryText registry(wineSystemReg);
    registry.setValue({"SOFTWARE", "TEST"}, "greeting", RegistryType::String, "C:\\Game\\", later);
    registry.setValue({"SOFTWARE", "TEST"}, "Beta", RegistryType::String, "b", later);
    registry.setValue({"SOFTWARE", "TEST"}, "Zulu", RegistryType::String, "z", later);
    const std::string text = registry.text();
    const std::string expected =
        std::string(textBefore(std::string(wineSystemReg), "[Software\\\\Test]")) +
        "[Software\\\\Test" + std::string(laterLines) +
        "\"Answer\"=dword:0000002a\n\"Beta\"=\"b\"\n\"Greeting\"=\"C:\\\\Game\\\\\"\n\"Zulu\"=\"z\"\n";
    EXPECT_EQ(text, expected);
}

TEST(RegistryText, NewKeysGoWhereWineSortsThem) {
    RegistryText registry(wineSystemReg);
    const RegistryPath vlm = {"SOFTWARE", "Ornwick", "Arcnet Games", "VLM2"};
    registry.createKey(vlm, later);
    registry.setValue(vlm, "version", RegistryType::String, "1.06", later);
    const std::string text = registry.text();
    const std::string block = "\n[Software\\\\Ornwick\\\\Arcnet Games\\\\VLM2" +
                              std::string(laterLines) + "\"version\"=\"1.06\"\n\n[Software\\\\Test]";
    EXPECT_NE(text.find(block), std::string::npos) << text;
    // Existing keys keep the file's spelling; creating twice adds nothing.
    registry.createKey({"software", "classes", "NEW"}, later);
    registry.createKey({"SOFTWARE", "CLASSES", "new"}, later);
    const std::string again = registry.text();
    EXPECT_NE(again.find("\n[Software\\\\Classes\\\\NEW] 1800000000\n#time=1dda4c66b338000\n\n"
                         "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion]"),
              std::string::npos);
    EXPECT_EQ(again.size(), text.size() + 59);

    // A key at the end of a file without a final line break.
    RegistryText small("WINE REGISTRY Version 2\n\n[A] 1\n#time=1\n\"x\"=\"y\"");
    small.setValue({"B"}, "v", RegistryType::Dword, std::string("\1\0\0\0", 4), later);
    EXPECT_EQ(small.text(), "WINE REGISTRY Version 2\n\n[A] 1\n#time=1\n\"x\"=\"y\"\n\n[B" +
                                std::string(laterLines) + "\"v\"=dword:00000001\n");
}

TEST(RegistryText, ReplacesAValueThatSpansLines) {
    RegistryText registry(wineSystemReg);
    const RegistryPath key = {"Software", "Microsoft", "Windows NT", "CurrentVersion"};
    registry.setValue(key, "DigitalProductId", RegistryType::String, "short", later);
    const std::string text = registry.text();
    EXPECT_NE(text.find("\"CurrentVersion\"=\"6.1\"\n\"DigitalProductId\"=\"short\"\n\"InstallDate\""),
              std::string::npos);
    EXPECT_EQ(text.find("00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00\n"),
              std::string::npos);
}

// A hex value whose continuation never comes (a file cut off after a
// trailing '\') must not swallow a value added behind it.
TEST(RegistryText, ANewValueIsNoContinuationOfACutOffHexValue) {
    for (const char* text : {"[S]\n\"\"=hex\\\n", "[S] 1\n\"A\"=hex:01,\\\n  02,\\\n\n"}) {
        RegistryText registry(text);
        registry.setValue({"S"}, "Directory", RegistryType::String, "C:\\x", later);
        const RegistryText reread(registry.text());
        EXPECT_EQ(reread.valueText({"S"}, "Directory"), "\"C:\\\\x\"") << registry.text();
    }
}

TEST(RegistryText, JunkNeverCrashes) {
    std::mt19937 random(7);
    constexpr char alphabetText[] = "[]\\\"=@#:hex,\n\r ab\0\xff";
    const std::string alphabet(alphabetText, sizeof alphabetText - 1);
    for (int round = 0; round < 300; ++round) {
        std::string junk;
        const int length = static_cast<int>(random() % 400);
        for (int i = 0; i < length; ++i) junk += alphabet[random() % alphabet.size()];
        RegistryText registry(junk);
        EXPECT_EQ(registry.text(), junk);
        registry.keyExists({"a", "b"});
        registry.setValue({"a", "b"}, "x", RegistryType::Binary, std::string(100, '\xab'), later);
        EXPECT_TRUE(registry.keyExists({"A", "B"}));
        EXPECT_TRUE(registry.valueText({"a", "b"}, "X"));
    }
}

// ---- The handle interface on a Wine-like prefix ----

constexpr std::string_view header = "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n";

std::string contents(const fixtures::WinePrefix& prefix) {
    return fixtures::readFile(prefix.registryPath());
}

TEST(Registry, OpensCreatesAndSetsThroughHandles) {
    fixtures::WinePrefix prefix;
    prefix.writeRegistry(wineSystemReg);

    RegistryKey software = 0, missing = 0, created = 0, again = 0;
    ASSERT_EQ(regOpenKeyEx(localMachine, "SOFTWARE", keyRead | keyCreateSubKey, software),
              regSuccess);
    EXPECT_EQ(regOpenKeyEx(software, "Ornwick", keyRead, missing), regNotFound);
    EXPECT_EQ(missing, 0u);
    EXPECT_EQ(contents(prefix), wineSystemReg);

    ASSERT_EQ(regCreateKey(software, "Test\\Sub", created), regSuccess);
    const std::string afterCreate = contents(prefix);
    EXPECT_NE(afterCreate.find("\n[Software\\\\Test\\\\Sub] "), std::string::npos);
    ASSERT_EQ(regOpenKeyEx(localMachine, "software\\TEST\\sub", keyWrite, again), regSuccess);

    const char text[] = "C:\\Jeux\\";
    EXPECT_EQ(regSetValueEx(again, "directory", RegistryType::String, text, 8), regSuccess);
    EXPECT_EQ(regSetValueEx(created, "exec", RegistryType::String, text, sizeof text), regSuccess);
    EXPECT_EQ(regSetValueEx(software, "x", RegistryType::String, "y", 1), regAccessDenied);
    EXPECT_EQ(regFlushKey(again), regSuccess);
    for (RegistryKey key : {software, created, again}) EXPECT_EQ(regCloseKey(key), regSuccess);
    EXPECT_EQ(regCloseKey(again), regInvalidHandle);
    EXPECT_EQ(regSetValueEx(again, "x", RegistryType::String, "y", 1), regInvalidHandle);

    const std::string after = contents(prefix);
    EXPECT_NE(after.find("#time="), std::string::npos);
    EXPECT_NE(after.find("\"directory\"=\"C:\\\\Jeux\\\\\"\n\"exec\"=\"C:\\\\Jeux\\\\\"\n"),
              std::string::npos);
    // Everything up to the new key is the old file.
    const std::string marker = "[Software\\\\Test\\\\Sub]";
    EXPECT_EQ(after.substr(0, after.find(marker)),
              std::string(wineSystemReg) + "\n");
}

TEST(Registry, ThirtyTwoBitViewOfA64BitPrefix) {
    fixtures::WinePrefix prefix(true);
    prefix.writeRegistry(std::string(header) + "#arch=win64\n\n[Software\\\\Ornwick] 1\n#time=1\n\n"
                         "[Software\\\\Wow6432Node\\\\Ornwick\\\\Old] 1\n#time=1\n");
    RegistryKey key = 0;
    ASSERT_EQ(regOpenKeyEx(localMachine, "SOFTWARE\\Ornwick\\Old", keyRead, key), regSuccess);
    regCloseKey(key);
    ASSERT_EQ(regCreateKey(localMachine, "SOFTWARE\\Ornwick\\Arcnet Games", key), regSuccess);
    EXPECT_EQ(regSetValueEx(key, "version", RegistryType::String, "1.06", 4), regSuccess);
    regCloseKey(key);
    EXPECT_NE(contents(prefix).find("[Software\\\\Wow6432Node\\\\Ornwick\\\\Arcnet Games] "),
              std::string::npos);
    EXPECT_NE(contents(prefix).find("\"version\"=\"1.06\""), std::string::npos);
}

TEST(Registry, BrokenOrMissingFilesAreLeftAlone) {
    fixtures::WinePrefix prefix;
    RegistryKey key = 0;
    const std::string junk("\0\xff[Software\\\\X\n\"a\"=hex:\\\n", 25);
    prefix.writeRegistry(junk);
    EXPECT_EQ(regOpenKeyEx(localMachine, "Software", keyRead, key), regNotFound);
    EXPECT_EQ(regCreateKey(localMachine, "Software\\Y", key), regWriteFault);
    EXPECT_EQ(contents(prefix), junk);

    std::filesystem::remove(prefix.registryPath());
    EXPECT_EQ(regOpenKeyEx(localMachine, "Software", keyRead, key), regNotFound);
    EXPECT_EQ(regCreateKey(localMachine, "Software\\Y", key), regWriteFault);
    EXPECT_FALSE(std::filesystem::exists(prefix.registryPath()));
    EXPECT_EQ(regOpenKeyEx(localMachine, "Software\\\\Y", keyRead, key), regNotFound);
}

}  // namespace
}  // namespace calyx::platform
