// The constants every deliverable and the package are built from, row by row
// against the reference table. The reference is read at run time, so a wrong
// byte on either side fails here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "platform/product_constants.h"

namespace {

struct ReferenceRow {
    std::string subkey, valueName, classId;  // "" for none
};

std::vector<std::string> ReadLines(const char* path = MERIDEL_PRODUCT_REFERENCE) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> Cells(const std::string& line) {
    std::vector<std::string> cells;
    std::size_t start = 1;
    for (std::size_t bar; (bar = line.find('|', start)) != std::string::npos; start = bar + 1) {
        std::string cell = line.substr(start, bar - start);
        cell.erase(0, cell.find_first_not_of(' '));
        cell.erase(cell.find_last_not_of(' ') + 1);
        cells.push_back(cell);
    }
    return cells;
}

// "none", "none (default value)" -> ""; "\"Imagers\\MainImager\"" -> the text inside the quotes.
std::string Field(const std::string& cell) {
    if (cell.rfind("none", 0) == 0) return "";
    if (cell.size() >= 2 && cell.front() == '"' && cell.back() == '"') return cell.substr(1, cell.size() - 2);
    return cell;
}

class ProductReference : public ::testing::Test {
protected:
    void SetUp() override {
        lines_ = ReadLines();
        ASSERT_FALSE(lines_.empty()) << "cannot read " << MERIDEL_PRODUCT_REFERENCE;
        const std::regex row(R"(^\| *([0-9]+) *\|)");
        for (const std::string& line : lines_) {
            if (!std::regex_search(line, row)) continue;
            const std::vector<std::string> c = Cells(line);
            if (c.size() != 5) continue;
            rows_[std::stoi(c[0])] = {Field(c[2]), Field(c[3]), Field(c[4])};
        }
        for (const std::string& line : lines_) {
            const std::vector<std::string> c = Cells(line);
            if (c.size() == 2) other_[c[0]] = c[1];
        }
    }

    std::string Other(const std::string& prefix) const {
        for (const auto& [what, value] : other_)
            if (what.rfind(prefix, 0) == 0) return value;
        return "(missing from the reference)";
    }

    std::vector<std::string> lines_;
    std::map<int, ReferenceRow> rows_;
    std::map<std::string, std::string> other_;
};

TEST_F(ProductReference, EveryComponentRowMatches) {
    ASSERT_EQ(rows_.size(), product::kComponentCount);
    for (const product::Component& c : product::kComponents) {
        SCOPED_TRACE("row " + std::to_string(c.row));
        ASSERT_EQ(rows_.count(c.row), 1u);
        const ReferenceRow& expected = rows_.at(c.row);
        EXPECT_EQ(c.moduleSubkey, expected.subkey);
        EXPECT_EQ(c.moduleValueName, expected.valueName);
        EXPECT_EQ(c.classId, expected.classId);
    }
    EXPECT_EQ(product::kComponents[0].row, 1);
    EXPECT_EQ(product::kComponents[product::kComponentCount - 1].row, int(product::kComponentCount));
}

// The remover's table holds the identifiers as numbers: the compile-time
// parse must give what an independent reading of the reference text gives.
TEST_F(ProductReference, ParsedClassIdentifiersMatchTheText) {
    std::set<std::string> distinct;
    for (const product::Component& c : product::kComponents) {
        if (!*c.classId) continue;
        SCOPED_TRACE(c.classId);
        distinct.insert(c.classId);
        unsigned d1, d2, d3, b[8];
        ASSERT_EQ(std::sscanf(rows_.at(c.row).classId.c_str(), "{%8x-%4x-%4x-%2x%2x-%2x%2x%2x%2x%2x%2x}", &d1, &d2, &d3,
                              &b[0], &b[1], &b[2], &b[3], &b[4], &b[5], &b[6], &b[7]),
                  11);
        const product::GuidFields g = product::ParseClassId(c.classId);
        EXPECT_EQ(g.data1, d1);
        EXPECT_EQ(g.data2, d2);
        EXPECT_EQ(g.data3, d3);
        for (int i = 0; i < 8; ++i) EXPECT_EQ(g.data4[i], b[i]) << "byte " << i;
    }
    EXPECT_EQ(distinct.size(), 16u);
}

TEST_F(ProductReference, ControlAndEngineAreRowsOneAndTwo) {
    EXPECT_EQ(std::string(product::kControlClassId), rows_.at(1).classId);
    EXPECT_EQ(std::string(product::kEngineClassId), rows_.at(2).classId);
    const std::wstring control(product::kControlClassIdW), engine(product::kEngineClassIdW);
    EXPECT_EQ(std::string(control.begin(), control.end()), rows_.at(1).classId);
    EXPECT_EQ(std::string(engine.begin(), engine.end()), rows_.at(2).classId);
}

TEST_F(ProductReference, OtherIdentifiersMatch) {
    EXPECT_EQ(MERIDEL_MOZILLA_PLUGIN_ID, Other("Mozilla plug-in identifier"));
    EXPECT_EQ(MERIDEL_PLUGIN_MODULE " / " MERIDEL_PLUGIN_CLASS_ARCHIVE " / " MERIDEL_PLUGIN_TYPE_LIBRARY,
              Other("Plug-in module"));
    EXPECT_EQ(MERIDEL_PRODUCT_NAME, Other("Installation package product name"));
    // The component subkeys are relative to the product key, which the
    // reference names in its note below the table.
    const std::string key = std::string("`HKEY_LOCAL_MACHINE\\") + product::kProductKey + "`";
    EXPECT_TRUE(std::any_of(lines_.begin(), lines_.end(),
                            [&](const std::string& line) { return line.find(key) != std::string::npos; }))
        << key;
}

// The repository's transcription is the owners' table, word for word, below
// its one-line note. Where the owners' copy is not beside the checkout (a clone
// on its own) there is nothing to compare.
TEST(ProductReferenceCopy, AgreesWithTheOwnersCopy) {
    if (!std::ifstream(MERIDEL_PRODUCT_OWNERS_COPY)) GTEST_SKIP() << "no owners' copy at " << MERIDEL_PRODUCT_OWNERS_COPY;
    std::vector<std::string> ours = ReadLines();
    ASSERT_FALSE(ours.empty());
    ASSERT_EQ(ours.front().rfind("<!--", 0), 0u) << "the transcription starts with its note";
    ours.erase(ours.begin());
    EXPECT_EQ(ours, ReadLines(MERIDEL_PRODUCT_OWNERS_COPY));
}

}  // namespace
