// The resource edit dialog without its widgets: the state it keeps between
// opening and OK or Cancel (the pending replacement, the link flags it was
// opened with, the test sound) and every procedure behind its buttons. What
// it shows goes through an `EditDialogView`; file dialogs belong to the
// widgets, so the procedures take the path the user chose.
//
// Nothing reaches the resource before OK; Cancel leaves it untouched.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "audio/wav_file.h"
#include "audio/wave_device_link.h"
#include "audio/wave_out_device.h"
#include "bank/sound_bank.h"
#include "editor/core/conversion_offer.h"
#include "editor/core/edit_dialog_view.h"
#include "editor/core/edit_results.h"
#include "editor/core/game_strings.h"
#include "editor/core/link_table.h"
#include "editor/core/messages.h"

namespace calyx::editor {

// Texts of the dialog's lines.
namespace edit_text {
inline constexpr int loopingId = 22;
inline constexpr std::string_view loopingFrench = "Son bouclant";
inline constexpr int sizeBeforeId = 23;
inline constexpr int sizeAfterId = 24;
inline constexpr std::string_view sizeFrenchBefore = "Taille: ";
inline constexpr std::string_view sizeFrenchAfter = " octets";
// The line after a file was chosen is English in every language.
inline constexpr std::string_view sizeChosenBefore = "Size: ";
inline constexpr std::string_view sizeChosenAfter = " bytes";
// A chosen file whose name the bank's record cannot hold whole; "%1" is the
// name it will record.
inline constexpr TwoLanguageText nameShortened{
    "La banque ne garde que 12 caractères du nom de fichier : elle enregistrera « %1 ».",
    "The bank keeps only 12 characters of a file name: it will record \"%1\"."};
}  // namespace edit_text

// The longest text read from the file-name box and from the volume box.
inline constexpr std::size_t fileNameBoxMax = 254;
inline constexpr std::size_t volumeBoxMax = 9;

// The dialog's state, under the names the rest of the editor knows it by.
struct ResourceEditState {
    bank::SoundResource* resource = nullptr;
    bank::SoundBank* bank = nullptr;
    const audio::WaveDeviceLink* deviceLink = nullptr;
    // The resource's link flags and source offset when the dialog opened
    // ("Reset" clears them).
    std::uint32_t openedLinkFlags = 0;
    std::int64_t openedSourceOffset = 0;
    // The replacement OK will commit.
    bool pendingReplaced = false;
    std::optional<std::string> pendingPath;
    std::uint32_t pendingSize = 0;
    std::string openingFileText;
    // A converted copy shown in the box as the user's file it was made from.
    std::optional<std::string> copyInBox;
    // "Reset" was pressed: OK drops what was pending, whatever the names.
    bool resetPressed = false;
    // The test sound: queued through `playHeader`, kept until stopped.
    audio::PlayHeader playHeader{};
    std::optional<std::vector<std::uint8_t>> playBuffer;
    std::uint32_t playLength = 0;
    bool bound = false;
};

class ResourceEditSession {
public:
    // Messages are the game's texts, else built-in ones in `language`.
    ResourceEditSession(EditDialogView& view, LinkTable& links, const GameStrings& strings,
                        InterfaceLanguage language = InterfaceLanguage::French);
    // Stops any test sound still queued.
    ~ResourceEditSession();
    ResourceEditSession(const ResourceEditSession&) = delete;
    ResourceEditSession& operator=(const ResourceEditSession&) = delete;

    // Only a sample that names a file opens the dialog.
    static bool opensDialogFor(const bank::SoundResource& resource);

    // Binds the dialog to `resource` of `bank`; the pending replacement
    // starts as the resource's own.
    void bind(bank::SoundResource& resource, bank::SoundBank& bank, const audio::WaveDeviceLink* deviceLink);
    // Fills the dialog's boxes and lines; false when it must end at once.
    bool initialise();

    // The volume typed in the volume box (0..127), the trackbar following
    // it; a box that does not read as a number is rewritten from the
    // trackbar.
    int readVolumeField();
    // The trackbar moved: the volume box follows.
    void trackbarMoved();

    // "Reset": back to the bank's own sample and stored volume.
    void reset();
    // Takes the WAV file `path` as the pending replacement.
    ImportResult importWav(const std::string& path, bool showInDialog);
    // "Browse..." after its file dialog, and a dropped file: true when the
    // file was taken.
    bool browse(const std::string& path);
    bool dropFile(const std::string& path);
    // Where a WAV file is refused for its format, the refusal also offers
    // to convert it (none: the refusal alone, as always).
    void setConversionOffer(ConversionOffer offer) { conversionOffer_ = std::move(offer); }

    // Loads what "Test current" plays and "exporter Wav" writes.
    WavError loadPlayBuffer(audio::WavFile& file, audio::WaveFormat& format);
    // "exporter Wav" after its file dialog: the dialog WAV error code.
    WavError exportWav(const std::string& path);
    void exportButton(const std::string& path) { reportWavError(exportWav(path)); }

    // "Test": stops the test and reads the volume before the file dialog
    // (the answer is the volume word), then plays the file chosen.
    std::uint32_t beginTest();
    void testFile(const std::string& path, std::uint32_t volumeWord);
    // "Test current".
    void testCurrent();
    // Stops the test sound and frees its buffer (the device is not touched
    // when there is none).
    void stopTest();

    // OK: true when the dialog closes, false when it stays open.
    bool ok();
    void cancel();

    void reportWavError(WavError error);
    void reportImportResult(ImportResult result);

    const ResourceEditState& state() const { return state_; }

private:
    // The box's text, the converted copy where the box shows the file it was made from.
    std::string fileNameBoxText() const;
    // Puts `path` in the box, a converted copy as the user's file.
    void showFileName(const std::string& path);
    // Plays the loaded buffer through the resource's device.
    void playBuffer(std::uint32_t volumeWord);
    // Says so when the bank will record `path`'s file name shortened.
    void warnOfShortenedName(const std::string& path);
    void showSizeLine(std::uint32_t size, bool chosenFile);
    void commit();
    // importWav with the dialog showing the file, its refusal reported
    // (`dropped`: as a dropped file's), and the offer to convert a file
    // refused for its format.
    ImportResult importReported(const std::string& path, bool dropped);
    // The offer for a file refused for its format: the converted copy, when
    // the user took it. `answered` says the user has already seen the refusal.
    std::optional<std::string> convertRefused(const std::string& path, const std::optional<UiText>& refusal,
                                              bool& answered);
    // Reads the data chunk of the WAV file `path` into the play buffer, at
    // most `limit` bytes when given; `format` gets the file's format.
    WavError readWavIntoPlayBuffer(audio::WavFile& file, const std::string& path, audio::WaveFormat& format,
                              std::optional<std::uint32_t> limit);

    EditDialogView& view_;
    LinkTable& links_;
    const GameStrings& strings_;
    InterfaceLanguage language_;
    ResourceEditState state_;
    ConversionOffer conversionOffer_;
};

}  // namespace calyx::editor
