// The merge file: RFC 4180 fields into one row of label texts per disc, and
// every refusal with its row and reason, as tables.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "label/LabelTestSupport.h"
#include "label/MergeCsv.h"

namespace twr {
namespace {

TEST(MergeCsv, ReadsOneRowPerDisc) {
  struct Expected {
    int row, line;
    std::string title, date, note;
  };
  struct Case {
    const char* name;
    std::string csv;
    std::vector<Expected> rows;
  };
  const Case cases[] = {
      {"plain, LF",
       "title,date,note1,note2\nA,2026,x,y\nB,2027,,z\n",
       {{2, 2, "A", "2026", "x\r\ny\r\n"}, {3, 3, "B", "2027", "\r\nz\r\n"}}},
      {"quoted commas, doubled quotes, a line break in a note, CR LF, a BOM, no last line end",
       "\xEF\xBB\xBFTitle , NOTE1,date\r\n\"Holidays, {n} of {N}\",\"say \"\"hi\"\"\r\nagain\","
       "\"\"\r\n\"last\",\"\",\"\xC3\xA9t\xC3\xA9\"",
       {{2, 2, "Holidays, {n} of {N}", "", "say \"hi\"\r\nagain\r\n"},
        {3, 4, "last", "\xC3\xA9t\xC3\xA9", ""}}},
      {"columns in any order, some left out, blank and empty rows skipped but counted",
       "note10,title\n\n,\nten,T\n\n",
       {{4, 4, "T", "", "\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\nten\r\n"}}},
      {"fewer fields than the header, an unnamed column left empty, a quote inside a text",
       "title,date,\nOnly,,\n12\" single\n",
       {{2, 2, "Only", "", ""}, {3, 3, "12\" single", "", ""}}},
      {"bare CR line ends", "title\rA\rB", {{2, 2, "A", "", ""}, {3, 3, "B", "", ""}}},
  };
  for (const Case& c : cases) {
    const MergeTable table = ReadMergeCsv(c.csv);
    ASSERT_TRUE(table.ok) << c.name << ": " << table.Message();
    ASSERT_EQ(table.rows.size(), c.rows.size()) << c.name;
    for (std::size_t i = 0; i < c.rows.size(); ++i) {
      const MergeRow& r = table.rows[i];
      const Expected& e = c.rows[i];
      EXPECT_EQ(r.row, e.row) << c.name;
      EXPECT_EQ(r.line, e.line) << c.name;
      EXPECT_EQ(r.title, e.title) << c.name;
      EXPECT_EQ(r.date, e.date) << c.name;
      EXPECT_EQ(r.note, e.note) << c.name;
    }
  }
}

TEST(MergeCsv, ABadRowSaysItsNumberAndWhy) {
  struct Case {
    std::string csv;
    int badRow;
    std::size_t rowsBefore;  // the good rows before it
    const char* message;
  };
  const std::string header = "title,date,note1\n";
  const Case cases[] = {
      {"", 0, 0, "the file is empty"},
      {"\n\n", 0, 0, "the file is empty"},
      {header, 0, 0, "a header but no row for a disc"},
      {"title;date;note1\nA;B;C\n", 1, 0,
       "row 1: column 1 is named \"title;date;note1\"; the columns are title, date and note1 to "
       "note10 (the fields must be separated by commas)"},
      {"title,Titel\n", 1, 0, "row 1: column 2 is named \"Titel\""},
      {"title,note11\n", 1, 0, "column 2 is named \"note11\""},
      {"title,note01\n", 1, 0, "column 2 is named \"note01\""},
      {"Date,date\n", 1, 0, "row 1: the column date is named twice"},
      {header + "A,B,C\nD,E,F,G\n", 3, 1,
       "row 3: it has 4 fields but the header 3 (a text with a comma must be written in double "
       "quotes)"},
      {header + "A,\"open,C\nD,E,F\n", 2, 0,
       "row 2: field 2 opens a double quote that is never closed"},
      {header + "ok,,\n\"A\"x,B,C\n", 3, 1,
       "row 3: there is text after the closing double quote of field 1"},
      {header + "A,B,\"two\nlines\"\nnext,C,\xFF\n", 3, 1,
       "row 3 (line 4): field 3 is not UTF-8 text"},
      {header + std::string("A,B\0C,D\n", 8), 2, 0, "row 2: field 2 holds a NUL byte"},
      {header + "\"A\nB\",x,y\n", 2, 0, "row 2: the title holds a line break"},
      {header + "A,\"B\r\n\",y\n", 2, 0, "row 2: the date holds a line break"},
      {header + std::string(257, 't') + ",,\n", 2, 0,
       "row 2: the title is 257 characters long (a wide East Asian character counts two); the "
       "label takes at most 256"},
      {header + "A,B,\"" + std::string(2600, 'n') + "\"\n", 2, 0,
       "row 2: the note is 2602 characters long (a wide East Asian character counts two); the "
       "label takes at most 2560"},
      {"title,\nA,extra\n", 2, 0, "row 2: field 2 holds text but its column has no name"},
  };
  for (const Case& c : cases) {
    const MergeTable table = ReadMergeCsv(c.csv);
    EXPECT_FALSE(table.ok) << c.message;
    EXPECT_EQ(table.badRow, c.badRow) << c.message;
    EXPECT_EQ(table.rows.size(), c.rowsBefore) << c.message;
    EXPECT_NE(table.Message().find(c.message), std::string::npos)
        << "wanted: " << c.message << "\n   got: " << table.Message();
  }

  std::string many = "title\n";
  for (int i = 0; i <= kMaxMergeRows; ++i) many += "d" + std::to_string(i) + "\n";
  const MergeTable table = ReadMergeCsv(many);
  EXPECT_FALSE(table.ok);
  EXPECT_EQ(table.badRow, kMaxMergeRows + 2);
  EXPECT_NE(table.problem.find("more than 10000 discs"), std::string::npos);

  // From a file: read whole, or refused as a whole.
  test::TempSettings folder;
  const std::string path = folder.Folder() + "/discs.csv";
  std::ofstream(path) << "title\nOne\nTwo\n";
  EXPECT_EQ(ReadMergeFile(path).rows.size(), 2u);
  const MergeTable missing = ReadMergeFile(folder.Folder() + "/none.csv");
  EXPECT_FALSE(missing.ok);
  EXPECT_EQ(missing.Message(), "it does not exist");
  EXPECT_EQ(ReadMergeFile(folder.Folder()).Message(), "it is a folder");
}

}  // namespace
}  // namespace twr
