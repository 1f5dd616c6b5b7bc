// Shared by the editing tests: the dialog's view as they drive it, the banks
// they work on, and the bank helpers of the fixtures.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "editor/core/headless_dialog_view.h"
#include "fixtures/bank_builder.h"
#include "fixtures/opened_bank.h"

namespace calyx::editor::test {

using Bytes = std::vector<std::uint8_t>;

// The dialog's view as the tests drive it: the headless one, with its
// trackbar shown.
inline HeadlessDialogView dialogView() {
    HeadlessDialogView view;
    view.trackbar = 0;
    return view;
}

using fixtures::openBankFile;
using fixtures::sample;
using fixtures::storedSample;
using fixtures::writeBank;

// The first bank of the editing tests: two samples, a third one named
// `thirdName` (in the external area when `thirdExternal`), and a CD track.
inline fixtures::BankSpec twoSamplesAndACdTrack(std::string thirdName, bool thirdExternal) {
    fixtures::BankSpec bank;
    bank.resources = {sample(1, fixtures::patternBytes(40, 1), "ONE.WAV"),
                      sample(2, fixtures::patternBytes(24, 2), "TWO.WAV"),
                      sample(3, fixtures::patternBytes(16, 3), std::move(thirdName), thirdExternal)};
    fixtures::ResourceSpec cd;
    cd.id = 4;
    cd.kind = 3;
    cd.stored = 0;
    bank.resources.push_back(cd);
    return bank;
}

}  // namespace calyx::editor::test
