// The resource list's cells and sort order.
#include <gtest/gtest.h>

#include "edit_test_support.h"
#include "editor/core/resource_list.h"
#include "fixtures/list_bank.h"

namespace calyx::editor {
namespace {

class ListRules : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = fixtures::writeListBank(dir_);
        bank_ = test::openBankFile(path_);
    }
    std::string cell(std::size_t i, int column) const { return cellText(*bank_, i, column).utf8(); }
    std::vector<std::size_t> sorted(int column) {
        directions_.flip(column);
        sortRows(rows_, *bank_, column, directions_);
        return rows_;
    }

    fixtures::TempDir dir_;
    std::string path_;
    std::unique_ptr<bank::SoundBank> bank_;
    SortDirections directions_;
    std::vector<std::size_t> rows_{0, 1, 2, 3, 4};
};

TEST_F(ListRules, CellsOfEachKind) {
    EXPECT_EQ(cell(0, nameColumn), "zeta");
    EXPECT_EQ(cell(0, volumeColumn), "90");
    EXPECT_EQ(cell(0, fileNameColumn), "b.wav");
    EXPECT_EQ(cell(0, descriptionColumn), "Moteur");
    EXPECT_EQ(cell(1, fileNameColumn), "");  // no file of its own
    EXPECT_EQ(cell(2, volumeColumn), "-");   // empty slot
    EXPECT_EQ(cell(2, fileNameColumn), "");
    EXPECT_EQ(cell(3, volumeColumn), "50");  // a CD track shows no file
    EXPECT_EQ(cell(3, fileNameColumn), "");
    EXPECT_EQ(cell(99, nameColumn), "");
}

TEST_F(ListRules, AReplacedSampleShowsTheReplacementsPath) {
    bank_->resourceAt(0)->setReplacement(true, 8, "/home/u/sons/klaxon été.wav");
    const UiText text = cellText(*bank_, 0, fileNameColumn);
    EXPECT_EQ(text.utf8(), "/home/u/sons/klaxon été.wav");
    bank_->resourceAt(4)->setNames("nom\xE9", "");
    EXPECT_EQ(cell(4, nameColumn), "nom\xC3\xA9");  // 8-bit game text shown as such
}

TEST_F(ListRules, EachColumnKeepsItsOwnDirection) {
    // Names without regard to case; equal names keep their order.
    EXPECT_EQ(sorted(nameColumn), (std::vector<std::size_t>{2, 1, 4, 3, 0}));
    EXPECT_EQ(sorted(nameColumn), (std::vector<std::size_t>{0, 3, 1, 4, 2}));
    // Another column sorts ascending on its first click.
    EXPECT_TRUE(directions_.flip(descriptionColumn));
    EXPECT_FALSE(directions_.ascending(nameColumn));
}

TEST_F(ListRules, VolumesCompareUnsignedSoEmptySlotsSortLastAscending) {
    EXPECT_EQ(sorted(volumeColumn), (std::vector<std::size_t>{1, 3, 0, 4, 2}));
    EXPECT_EQ(sorted(volumeColumn).front(), 2u);
    EXPECT_LT(compareRows(*bank_, 2, 0, volumeColumn, SortDirections{}), 0);  // descending: turned round
}

TEST_F(ListRules, FileNamesSortByTheFileEvenWhereTheCellIsEmpty) {
    // The CD track sorts by its record's file name, the unnamed sample and
    // the empty slot by the empty text.
    EXPECT_EQ(sorted(fileNameColumn), (std::vector<std::size_t>{1, 2, 4, 0, 3}));
    EXPECT_EQ(compareRows(*bank_, 0, 1, 7, directions_), 0);
}

TEST_F(ListRules, SortedRowsAgreeWithTheComparisonInBothDirections) {
    bank_->resourceAt(2)->setNames("", "Zz");
    bank_->resourceAt(4)->setReplacement(true, 8, "/x/\xC9t\xE9.wav");
    for (int column = 0; column < listColumnCount; ++column) {
        for (int click = 0; click < 2; ++click) {
            const auto rows = sorted(column);
            for (std::size_t i = 1; i < rows.size(); ++i)
                EXPECT_LE(compareRows(*bank_, rows[i - 1], rows[i], column, directions_), 0)
                    << "column " << column << " click " << click << " at " << i;
        }
    }
}

}  // namespace
}  // namespace calyx::editor
