// The table of every predicate's edge cases (edge_cases.txt): each row's atom is
// evaluated through the library's entry points, found by name as natcall
// finds them, and must print what the row says.
#include <gtest/gtest.h>

#include <fstream>

#include "atom.h"
#include "session.h"

TEST(EdgeCases, EveryRowOfTheTable) {
  std::string error;
  std::optional<natcall::Library> library = natcall::Library::open(MATH_N_LIBRARY, error);
  ASSERT_TRUE(library) << error;
  natcall::Session session(*library);
  std::ifstream table(EDGE_CASES);
  int rows = 0, number = 0;
  for (std::string line; std::getline(table, line);) {
    ++number;
    if (natcall::isBlankOrComment(line)) continue;
    ++rows;
    const std::size_t arrow = line.rfind(" => ");
    ASSERT_NE(arrow, std::string::npos) << "line " << number << " has no ' => '";
    natcall::Atom atom;
    natcall::SyntaxError syntax;
    ASSERT_TRUE(natcall::parseAtom(line.substr(0, arrow), atom, syntax))
        << "line " << number << ", column " << syntax.column << ": " << syntax.message;
    std::string printed;
    if (session.evaluate(atom, printed, error) == natcall::Outcome::error) printed = "error: " + error;
    EXPECT_EQ(printed, line.substr(arrow + 4)) << "line " << number << ": " << line.substr(0, arrow);
  }
  EXPECT_GT(rows, 250) << EDGE_CASES;
}
